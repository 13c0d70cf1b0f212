# manifest_text(OUT TEXT)
# Sets OUT to TEXT as it may stand in the application manifest, an XML file:
# "&", "<", ">" and "'" become entities. Windows refuses to start a program
# whose manifest does not parse ("side-by-side configuration is incorrect"),
# where Wine starts it all the same, so a test under Wine would never see
# the fault. A quotation mark or a backslash is refused: besides the
# manifest's attributes, the text ends up in a string of the resource
# script, which either would end or change.
function(manifest_text out text)
  if(text MATCHES "[\"\\\\]")
    message(FATAL_ERROR "program text \"${text}\": no quotation mark or backslash may stand in it")
  endif()
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "'" "&apos;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
