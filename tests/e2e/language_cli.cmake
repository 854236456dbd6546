# Which language `solmar --help` speaks: the desktop's (LANGUAGE, LC_ALL, LC_MESSAGES, LANG,
# as Qt reads them, the first one the reader speaks), unless --lang names one. Set SOLMAR.
# --help never reads the settings or opens a window: the platform named here does not exist.
set(ENV{QT_QPA_PLATFORM} "no-such-platform")

# help(<LANGUAGE> <LC_ALL> <LANG> <expected first word> [options...])
function(help language all lang expected)
  set(ENV{LANGUAGE} "${language}")
  set(ENV{LC_ALL} "${all}")
  set(ENV{LC_MESSAGES} "")
  set(ENV{LANG} "${lang}")
  execute_process(COMMAND "${SOLMAR}" --help ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE output ERROR_VARIABLE error)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "LANGUAGE=${language} LANG=${lang} solmar --help ${ARGN}: exit ${code}\n${error}")
  endif()
  string(REGEX MATCH "^[^ ]+" first "${output}")
  if(NOT first STREQUAL expected)
    message(FATAL_ERROR "LANGUAGE=${language} LC_ALL=${all} LANG=${lang} --help ${ARGN}: starts with \"${first}\", "
                        "expected \"${expected}\"")
  endif()
  set(out "${output}" PARENT_SCOPE)
endfunction()

help("he" "" "C.UTF-8" "שימוש:")
help("he_IL" "" "en_US.UTF-8" "שימוש:")
help("fr:he:en" "" "C.UTF-8" "שימוש:")
help("en:he" "" "C.UTF-8" "Usage:")
help("" "" "he_IL.UTF-8" "שימוש:")
help("" "he_IL.UTF-8" "en_US.UTF-8" "שימוש:")
help("" "" "en_US.UTF-8" "Usage:")
help("" "" "C" "Usage:")
help("fr" "" "de_DE.UTF-8" "Usage:")
help("he" "" "C.UTF-8" "Usage:" --lang en)
help("" "" "C" "שימוש:" --lang he)
help("" "" "C" "Usage:" --lang en)
set(english "${out}")
help("" "" "C" "Usage:")
if(NOT out STREQUAL english)
  message(FATAL_ERROR "--lang en changes the English help")
endif()
if(NOT english MATCHES "\n  --lang he\\|en ")
  message(FATAL_ERROR "the help does not name --lang")
endif()
help("" "" "C" "שימוש:" --lang he)
if(NOT out MATCHES "--lang he\\|en" OR NOT out MATCHES "--screenshot FILE")
  message(FATAL_ERROR "the Hebrew help lost an option's name:\n${out}")
endif()

# --lang takes he or en only.
foreach(bad "fr" "" "HE")
  execute_process(COMMAND "${SOLMAR}" --help --lang "${bad}" RESULT_VARIABLE code OUTPUT_VARIABLE output
                  ERROR_VARIABLE error)
  if(NOT code EQUAL 2 OR NOT error MATCHES "--lang wants he or en")
    message(FATAL_ERROR "--lang \"${bad}\": exit ${code}, ${error}")
  endif()
endforeach()

# The command line's own messages speak the same language as --help; the exit code, the
# program's and the options' names stay as they are, and the English text does not change.
# said(<exit code> <English message> <Hebrew message> <arguments>...): each message is the
# whole of standard error, after "solmar: "; standard output goes to said_output.
set(said_output /dev/null)
function(said code english hebrew)
  foreach(run "en;-;en" "he;-;he" "he;--lang;en" "en;--lang;he")
    list(GET run 0 desktop)
    list(GET run 1 option)
    list(GET run 2 language)
    set(ENV{LANGUAGE} "${desktop}")
    set(ENV{LANG} "C.UTF-8")
    set(extra "")
    if(option STREQUAL "--lang")
      set(extra "${option}" "${language}")
    endif()
    # Through a file, whose size shows bytes (a NUL) that a variable would drop.
    set(file "${CMAKE_CURRENT_BINARY_DIR}/language_cli_said.txt")
    execute_process(COMMAND "${SOLMAR}" ${extra} ${ARGN} RESULT_VARIABLE got OUTPUT_FILE "${said_output}"
                    ERROR_FILE "${file}")
    file(READ "${file}" error)
    file(SIZE "${file}" size)
    set(expected "solmar: ${english}\n")
    if(language STREQUAL "he")
      set(expected "solmar: ${hebrew}\n")
    endif()
    string(LENGTH "${expected}" length)
    if(NOT got EQUAL code OR NOT error STREQUAL expected OR NOT size EQUAL length)
      message(FATAL_ERROR "LANGUAGE=${desktop} solmar ${extra} ${ARGN}: exit ${got} (expected ${code}), said\n"
                          "${error}expected\n${expected}")
    endif()
  endforeach()
endfunction()

said(2 [[--lang wants he or en (got "fr")]] [[האפשרות --lang מקבלת he או en (התקבל „fr”)]] --lang fr)
said(2 [[--dump needs a value]] [[לאפשרות --dump חסר ערך]] --help --dump)
said(2 [[--rtf wants a number from 1 to 286 (got "0")]] [[האפשרות --rtf מקבלת מספר מ־1 עד 286 (התקבל „0”)]] --rtf 0)
said(2 [[--size wants WxH, each from 100 to 8192 (got "%2x%1")]]
     [[האפשרות --size מקבלת WxH, כל אחד מ־100 עד 8192 (התקבל „%2x%1”)]] --size %2x%1 --screenshot x.png)
said(2 [[--find goes alone, without --quit or --screenshot]] [[האפשרות --find באה לבדה, בלי --quit ובלי --screenshot]]
     --find א --quit)
said(2 [[--pages: the range "9-2" runs backwards]] [[--pages: הטווח „9-2” הפוך, סופו לפני תחילתו]]
     --pdf unwritten.pdf --pages 9-2)
said(2 [[the book's text cannot hold "q" (U+0071), so the pattern matches nothing]]
     [[טקסט הספר אינו יכול להכיל את „q” (U+0071), ולכן התבנית אינה מתאימה לשום מקום]] --find q)
said(2 [["Foo" is not one of the five books: write Genesis, Exodus, Leviticus, Numbers or Deuteronomy, in Hebrew or in English.]]
     [[„Foo” אינו אחד מחמשת החומשים: כתבו בראשית, שמות, ויקרא, במדבר או דברים, בעברית או באנגלית.]] --verses Foo)
set(said_output /dev/full)
said(1 [[cannot write article 7]] [[אי אפשר לכתוב את מאמר 7]] --dump 7)
set(said_output /dev/null)
said(0 [[ignoring unknown argument "-zz" (see solmar --help)]] [[מתעלמים מהארגומנט הלא מוכר „-zz” (ראו solmar --help)]]
     --verses "Gen 1:1" -zz)
