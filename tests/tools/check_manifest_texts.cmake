# cmake -P check_manifest_texts.cmake
# manifest_text escapes a text so that XML parses it back, in an element and
# in an attribute, and stops at a quotation mark.
include(${CMAKE_CURRENT_LIST_DIR}/../../common/resources/ManifestText.cmake)
if(DEFINED REFUSE)
  manifest_text(out "${REFUSE}")
  return()
endif()
set(text "Tom & Jerry's <Setup>")
manifest_text(out "${text}")
execute_process(COMMAND /usr/bin/python3 -c
  "import sys, xml.etree.ElementTree as x; d = x.fromstring(sys.argv[1]); sys.exit(d.text != sys.argv[2] or d.get('n') != sys.argv[2])"
  "<d n='${out}'>${out}</d>" "${text}" RESULT_VARIABLE parsed)
execute_process(COMMAND ${CMAKE_COMMAND} "-DREFUSE=Say \"hello\"" -P ${CMAKE_CURRENT_LIST_FILE}
  RESULT_VARIABLE refused OUTPUT_QUIET ERROR_QUIET)
if(NOT parsed EQUAL 0 OR refused EQUAL 0)
  message(FATAL_ERROR "\"${out}\" parsed: ${parsed}; a quotation mark refused: ${refused}")
endif()
