# Runs `solmar --verses` as a script would. Set SOLMAR (the program) and WORK (a scratch
# folder, used as the settings folder). The Qt platform named here does not exist, so any
# attempt to open a window would fail the run.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(ENV{XDG_CONFIG_HOME} "${WORK}")
set(ENV{QT_QPA_PLATFORM} "no-such-platform")

# expect(<exit code> <reference> <expected standard output> [<regex the error must match>])
function(expect expected reference wanted)
  execute_process(COMMAND "${SOLMAR}" --verses "${reference}" RESULT_VARIABLE code OUTPUT_VARIABLE output
                  ERROR_VARIABLE error)
  if(NOT code EQUAL expected)
    message(FATAL_ERROR "solmar --verses \"${reference}\": exit ${code}, expected ${expected}\n${error}")
  endif()
  if(NOT output STREQUAL wanted)
    message(FATAL_ERROR "solmar --verses \"${reference}\" printed\n${output}\ninstead of\n${wanted}")
  endif()
  if(ARGC GREATER 3 AND NOT error MATCHES "${ARGV3}")
    message(FATAL_ERROR "solmar --verses \"${reference}\": message \"${error}\" does not match /${ARGV3}/")
  endif()
endfunction()

set(v3 "ג ויאמר אלהים יהי אור ויהי-אור:\n")
set(v4 "ד וירא אלהים את-האור כי-טוב ויבדל אלהים בין האור ובין החשך:\n")
set(v5 "ה ויקרא אלהים | לאור יום ולחשך קרא לילה ויהי-ערב ויהי-בקר יום אחד:\n")
expect(0 "בראשית א:ג" "${v3}(בראשית א:ג)\n")
expect(0 "Gen 1:3" "${v3}(בראשית א:ג)\n")
expect(0 "בר׳ א ג-ה" "${v3}${v4}${v5}(בראשית א:ג-ה)\n")
expect(0 "gen 1.3–5" "${v3}${v4}${v5}(בראשית א:ג-ה)\n")
expect(0 "בראשית א:לא-ב:א"
  "לא וירא אלהים את-כל-אשר עשה והנה-טוב מאד ויהי-ערב ויהי-בקר יום הששי:\nא ויכלו השמים והארץ וכל-צבאם:\n(בראשית א:לא-ב:א)\n")
# A ketiv with its qere in brackets, a verse across two pages' worth of text in one line.
execute_process(COMMAND "${SOLMAR}" --verses "Gen 8:17" RESULT_VARIABLE code OUTPUT_VARIABLE output)
if(NOT code EQUAL 0 OR NOT output MATCHES "^יז [^\n]*הוצא \\[היצא\\][^\n]*:\n\\(בראשית ח:יז\\)\n$")
  message(FATAL_ERROR "Gen 8:17: exit ${code}\n${output}")
endif()
# The last verse of the book.
execute_process(COMMAND "${SOLMAR}" --verses "Deut 34:12" RESULT_VARIABLE code OUTPUT_VARIABLE output)
if(NOT code EQUAL 0 OR NOT output MATCHES "^יב [^\n]*:\n\\(דברים לד:יב\\)\n$")
  message(FATAL_ERROR "Deut 34:12: exit ${code}\n${output}")
endif()

expect(2 "Gen 51:1" "" "no chapter 51")
expect(2 "Gen 1:32" "" "has no verse 32")
expect(2 "Psalms 1:1" "" "\"Psalms\" is not one of the five books")
expect(2 "Gen 1:5-3" "" "runs backwards")
expect(2 "" "" "Type a reference")
expect(0 "בְּרֵאשִׁ֖ית א׳:ג׳" "${v3}(בראשית א:ג)\n")
