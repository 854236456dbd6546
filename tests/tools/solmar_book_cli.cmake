# Runs solmar-book as a user would. Set TOOL (the program), PACK (a built book pack) and
# WORK (a scratch folder).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# run(<expected exit code> <args>... [INPUT file] [OUTPUT file]) -> out, err
function(run expected)
  cmake_parse_arguments(ARG "" "INPUT;OUTPUT" "" ${ARGN})
  set(io)
  if(ARG_INPUT)
    list(APPEND io INPUT_FILE "${ARG_INPUT}")
  endif()
  if(ARG_OUTPUT)
    list(APPEND io OUTPUT_FILE "${ARG_OUTPUT}")
  else()
    list(APPEND io OUTPUT_VARIABLE output)
  endif()
  execute_process(COMMAND "${TOOL}" ${ARG_UNPARSED_ARGUMENTS} ${io} RESULT_VARIABLE code ERROR_VARIABLE error)
  if(NOT code EQUAL expected)
    message(FATAL_ERROR "solmar-book ${ARG_UNPARSED_ARGUMENTS}: exit ${code}, expected ${expected}\n${error}")
  endif()
  set(out "${output}" PARENT_SCOPE)
  set(err "${error}" PARENT_SCOPE)
endfunction()

function(expect_match text pattern)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "expected /${pattern}/ in:\n${text}")
  endif()
endfunction()

# The codec round trip through stdin and stdout, on binary and on text input.
foreach(input "${PACK}" "${CMAKE_CURRENT_LIST_FILE}")
  file(SIZE "${input}" size)
  run(0 lz77 -c INPUT "${input}" OUTPUT "${WORK}/packed")
  run(0 lz77 -d ${size} INPUT "${WORK}/packed" OUTPUT "${WORK}/unpacked")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${input}" "${WORK}/unpacked" RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    message(FATAL_ERROR "lz77 round trip changed ${input}")
  endif()
endforeach()

# A space and a letter are one space-pair token.
file(WRITE "${WORK}/pair" " a")
run(0 lz77 -c INPUT "${WORK}/pair" OUTPUT "${WORK}/pair.lz")
file(READ "${WORK}/pair.lz" hex HEX)
if(NOT hex STREQUAL "e1")
  message(FATAL_ERROR "lz77 -c of ' a' gave ${hex}, expected e1")
endif()

# Asking for more output than the tokens make is the decoder's length error.
run(1 lz77 -d 3 INPUT "${WORK}/pair.lz")
expect_match("${err}" "UnCompress\\(\\) buffer error!")
run(2 lz77 -d)
run(2 lz77 -d 0)

# Bad source is refused with file:line and no pack is written.
file(MAKE_DIRECTORY "${WORK}/bad")
file(WRITE "${WORK}/bad/book.txt" "@article 1\np rtl | א\np rtl | abc\n")
run(1 build "${WORK}/bad" -o "${WORK}/bad.pack")
expect_match("${err}" "book.txt:3: lower-case Latin letter 'a'")
expect_match("${err}" "articles 2..286 are missing")
if(EXISTS "${WORK}/bad.pack")
  message(FATAL_ERROR "a refused build wrote a pack")
endif()
run(1 build "${WORK}/nowhere" -o "${WORK}/none.pack")

# A good book, then every inspector on it.
file(MAKE_DIRECTORY "${WORK}/good")
set(source "")
foreach(n RANGE 1 286)
  string(APPEND source "@article ${n}\np rtl | אב\n")
endforeach()
string(APPEND source "@index\nentry 0 1 visible | א\n")
file(WRITE "${WORK}/good/book.txt" "${source}")
run(0 build "${WORK}/good" -o "${WORK}/good.pack")

run(0 list "${WORK}/good.pack")
string(REGEX MATCHALL "[^\n]+" lines "${out}")
list(LENGTH lines count)
if(NOT count EQUAL 287)
  message(FATAL_ERROR "list gave ${count} lines, expected 287")
endif()
list(GET lines 0 first)
expect_match("${first}" "^1001 [0-9]+ [0-9]+ 6$")  # flags, param, two letters, 0, end byte
string(REPLACE " " ";" fields "${first}")
list(GET fields 1 resourceSize)

run(0 raw "${WORK}/good.pack" 1001 OUTPUT "${WORK}/raw")
file(SIZE "${WORK}/raw" rawSize)
if(NOT rawSize EQUAL resourceSize)
  message(FATAL_ERROR "raw gave ${rawSize} bytes, list says ${resourceSize}")
endif()

run(0 unpack "${WORK}/good.pack" 1 OUTPUT "${WORK}/unpacked")
file(READ "${WORK}/unpacked" hex HEX)
if(NOT hex STREQUAL "100062610000")  # the stream ends with its 0 flags byte
  message(FATAL_ERROR "unpack gave ${hex}")
endif()

run(0 dump "${WORK}/good.pack" 1001)
if(NOT out STREQUAL "@article 1\np flags=0x10 param=0x00 | אב\n")
  message(FATAL_ERROR "dump gave:\n${out}")
endif()
run(0 dump "${WORK}/good.pack" index)
expect_match("${out}" "^@index\nentry 0 1 flags=0x90 | א\n$")
run(1 dump "${WORK}/good.pack" 287)

# The book the build made.
run(0 list "${PACK}")
string(REGEX MATCHALL "[^\n]+" lines "${out}")
list(LENGTH lines count)
if(NOT count EQUAL 287)
  message(FATAL_ERROR "list of the built book gave ${count} lines")
endif()
run(0 dump "${PACK}" 32767)
expect_match("${out}" "^@index\n")
