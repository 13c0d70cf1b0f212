# Checks the application's documents in DOCS before they go into the payload:
#  - every document that the setup program carries is there;
#  - every local link (href) and image (src) of a help page names one of them,
#    spelled as the file is, since a page can only reach what is installed;
#  - each help page is a whole HTML document of modest size;
#  - each image is a GIF of under 2 KB, each rich-text file starts as RTF
#    and its groups are balanced.
# Usage: cmake -DDOCS=dir -P CheckDocs.cmake. Ends with an error that lists
# every fault (file and reason) when there is any.
if(NOT DEFINED DOCS)
  message(FATAL_ERROR "CheckDocs: DOCS is not set")
endif()

set(PAGES Index.htm GettingStarted.htm Settings.htm Uninstall.htm VeltranoHelp.htm
    Keyboard.htm Proxy.htm Troubleshooting.htm Glossary.htm Contact.htm)
set(IMAGES Logo.gif Banner.gif Window.gif Settings.gif Back.gif Next.gif Home.gif
    Bullet.gif Divider.gif Tip.gif Warning.gif Note.gif)
set(RICH_TEXTS Readme.rtf License.rtf)
set(DOCUMENTS ${PAGES} ${IMAGES} ${RICH_TEXTS})

set(faults "")
macro(fault file reason)
  string(APPEND faults "\n  ${file}: ${reason}")
endmacro()

foreach(name IN LISTS DOCUMENTS)
  if(NOT EXISTS "${DOCS}/${name}")
    fault("${name}" "missing")
  endif()
endforeach()

foreach(page IN LISTS PAGES)
  if(NOT EXISTS "${DOCS}/${page}")
    continue()
  endif()
  file(SIZE "${DOCS}/${page}" size)
  if(size GREATER 8192)
    fault("${page}" "${size} bytes, more than 8192")
  endif()
  file(READ "${DOCS}/${page}" text)
  foreach(part "<html>" "<title>" "</body>" "</html>")
    string(FIND "${text}" "${part}" at)
    if(at EQUAL -1)
      fault("${page}" "has no ${part}")
    endif()
  endforeach()
  string(REGEX MATCHALL "(href|src)=\"[^\"]*\"" references "${text}")
  foreach(reference IN LISTS references)
    string(REGEX REPLACE "^(href|src)=\"([^\"#]*).*$" "\\2" target "${reference}")
    if(target MATCHES ":" OR target STREQUAL "")
      continue()   # a web address, or a link within the page
    endif()
    list(FIND DOCUMENTS "${target}" known)
    if(known EQUAL -1)
      fault("${page}" "${reference} names no document that is installed")
    endif()
  endforeach()
endforeach()

foreach(image IN LISTS IMAGES)
  if(NOT EXISTS "${DOCS}/${image}")
    continue()
  endif()
  file(READ "${DOCS}/${image}" head LIMIT 4 HEX)
  if(NOT head STREQUAL "47494638")   # "GIF8"
    fault("${image}" "does not start with GIF8")
  endif()
  file(SIZE "${DOCS}/${image}" size)
  if(size GREATER 2048)
    fault("${image}" "${size} bytes, more than 2048")
  endif()
endforeach()

foreach(rich IN LISTS RICH_TEXTS)
  if(NOT EXISTS "${DOCS}/${rich}")
    continue()
  endif()
  file(READ "${DOCS}/${rich}" text)
  string(SUBSTRING "${text}" 0 5 head)
  if(NOT head STREQUAL "{\\rtf")
    fault("${rich}" "does not start with the RTF header")
  endif()
  # Escaped backslashes and braces are text, not group marks.
  string(REPLACE "\\\\" "" bare "${text}")
  string(REPLACE "\\{" "" bare "${bare}")
  string(REPLACE "\\}" "" bare "${bare}")
  string(REGEX REPLACE "[^{]" "" opens "${bare}")
  string(REGEX REPLACE "[^}]" "" closes "${bare}")
  string(LENGTH "${opens}" open_count)
  string(LENGTH "${closes}" close_count)
  if(NOT open_count EQUAL close_count)
    fault("${rich}" "${open_count} groups opened, ${close_count} closed")
  endif()
endforeach()

if(faults)
  message(FATAL_ERROR "CheckDocs: faults in ${DOCS}:${faults}")
endif()
list(LENGTH DOCUMENTS count)
message(STATUS "CheckDocs: ${count} documents checked")
