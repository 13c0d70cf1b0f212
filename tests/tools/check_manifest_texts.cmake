# cmake -P check_manifest_texts.cmake
# Checks manifest_text (common/resources/ManifestText.cmake): a text with
# XML's special characters comes back with entities that parse, inside an
# element and inside an attribute, to the text itself; a text with a
# quotation mark stops the configuration.
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
if(NOT parsed EQUAL 0)
  message(FATAL_ERROR "\"${out}\" does not parse back to \"${text}\"")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} "-DREFUSE=Say \"hello\"" -P ${CMAKE_CURRENT_LIST_FILE}
  RESULT_VARIABLE refused OUTPUT_QUIET ERROR_QUIET)
if(refused EQUAL 0)
  message(FATAL_ERROR "a text with a quotation mark was taken")
endif()
message(STATUS "manifest texts: escaped \"${text}\" as \"${out}\", refused a quotation mark")
