# Runs `solmar --find` as a script would. Set SOLMAR (the program) and WORK (a scratch
# folder, used as the settings folder). The Qt platform named here does not exist, so any
# attempt to open a window would fail the run: --find must not need one.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(ENV{XDG_CONFIG_HOME} "${WORK}")
set(ENV{QT_QPA_PLATFORM} "no-such-platform")

# run(<expected exit code> <pattern>) -> out, err
function(run expected pattern)
  execute_process(COMMAND "${SOLMAR}" --find "${pattern}" RESULT_VARIABLE code OUTPUT_VARIABLE output
                  ERROR_VARIABLE error)
  if(NOT code EQUAL expected)
    message(FATAL_ERROR "solmar --find \"${pattern}\": exit ${code}, expected ${expected}\n${error}")
  endif()
  set(out "${output}" PARENT_SCOPE)
  set(err "${error}" PARENT_SCOPE)
endfunction()

# every_line(<text> <regex>): each line of text matches; answers the number of lines in n.
function(every_line text regex)
  string(REGEX REPLACE "\n$" "" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  list(LENGTH lines count)
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "${regex}")
      message(FATAL_ERROR "line \"${line}\" does not match /${regex}/")
    endif()
  endforeach()
  set(n ${count} PARENT_SCOPE)
endfunction()

# A word that occurs: Genesis opens with it, so article 1 comes first; every line is
# article, end offset, length and the word itself in reading order.
run(0 "בראשית")
every_line("${out}" "^[0-9]+\t[0-9]+\t6\tבראשית$")
set(plain ${n})
if(plain LESS 10 OR NOT out MATCHES "^1\t")
  message(FATAL_ERROR "expected many hits, the first in article 1:\n${out}")
endif()
# Articles come in order.
string(REGEX MATCHALL "(^|\n)[0-9]+" articles "${out}")
set(previous 0)
foreach(a IN LISTS articles)
  string(STRIP "${a}" a)
  if(a LESS previous)
    message(FATAL_ERROR "article ${a} listed after ${previous}")
  endif()
  set(previous ${a})
endforeach()

# Wildcards: "?" one letter, "*" a run; a phrase with a space.
run(0 "ב?אשית")
every_line("${out}" "^[0-9]+\t[0-9]+\t6\tב..אשית$")  # one letter: two bytes of UTF-8
if(n LESS plain)
  message(FATAL_ERROR "\"ב?אשית\" found fewer hits (${n}) than \"בראשית\" (${plain})")
endif()
run(0 "ויאמר אלהים")
every_line("${out}" "^[0-9]+\t[0-9]+\t11\tויאמר אלהים$")
run(0 "אלה*ם")
every_line("${out}" "^[0-9]+\t[0-9]+\t[0-9]+\tאלה[^\t]*ם$")

# A word that does not occur: nothing listed, exit 1.
run(1 "קקקקק")
if(NOT out STREQUAL "")
  message(FATAL_ERROR "a word that does not occur listed:\n${out}")
endif()

# Bad patterns: exit 2 with a message, nothing listed.
run(2 "")
run(2 "abc")
if(NOT err MATCHES "cannot hold \"a\"" OR NOT out STREQUAL "")
  message(FATAL_ERROR "a Latin letter: ${err}")
endif()
run(2 "אאאאאאאאאאאאאאאאאאאאאאאאאאאאאאאאאא")
if(NOT err MATCHES "longer than 33")
  message(FATAL_ERROR "34 letters: ${err}")
endif()

file(GLOB_RECURSE written "${WORK}/*")
if(written)
  message(FATAL_ERROR "--find wrote settings: ${written}")
endif()
