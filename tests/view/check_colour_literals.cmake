# Fails when drawing code names a colour of its own instead of taking it from the scheme
# table (src/view/colour_scheme.h) or, in the Qt backend, from the colours the reader gives
# it (qt_colours.cpp keeps the classic ones for before that).
#   cmake -DSOURCE_DIR=... -P check_colour_literals.cmake
# What counts as a colour literal: a six-digit hexadecimal number (colours are 0x00BBGGRR),
# the stock white and black brushes, and in the Qt backend QColor, qRgb and Qt's named
# colours. Comments are not code and are left out. The program's icon keeps colours of its
# own in every scheme (constants named kBrand...).
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

file(GLOB_RECURSE core_files
  ${SOURCE_DIR}/src/view/*.cpp ${SOURCE_DIR}/src/view/*.h
  ${SOURCE_DIR}/src/index/*.cpp ${SOURCE_DIR}/src/index/*.h
  ${SOURCE_DIR}/src/shell/*.cpp ${SOURCE_DIR}/src/shell/*.h
  ${SOURCE_DIR}/src/search/*.cpp ${SOURCE_DIR}/src/search/*.h
  ${SOURCE_DIR}/src/dialogs/*.cpp ${SOURCE_DIR}/src/dialogs/*.h)
list(REMOVE_ITEM core_files ${SOURCE_DIR}/src/view/colour_scheme.h ${SOURCE_DIR}/src/view/colour_scheme.cpp)
# qt_drawing.cpp is left out: it implements the drawing primitives and the platform's stock
# objects, and draws in the colours its callers give.
set(qt_files
  ${SOURCE_DIR}/src/platform/qt/qt_windows.cpp
  ${SOURCE_DIR}/src/platform/qt/qt_dialogs.cpp ${SOURCE_DIR}/src/platform/qt/qt_pictures.cpp
  ${SOURCE_DIR}/src/platform/qt/qt_menus.cpp ${SOURCE_DIR}/src/platform/qt/qt_accessibility.cpp)

set(core_pattern "0[xX][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]([^0-9A-Fa-f]|$)|kStock(White|Black)Brush")
set(qt_pattern "${core_pattern}|(^|[^A-Za-z_])(QColor|qRgb)\\(|Qt::(white|black|red|green|blue|cyan|magenta|yellow|gray|darkGray|lightGray|darkRed|darkBlue|darkGreen)")

set(found "")
foreach(kind core qt)
  foreach(path IN LISTS ${kind}_files)
    file(STRINGS ${path} lines)
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      string(REGEX REPLACE "//.*$" "" code "${line}")
      if(code MATCHES "kBrand")
        continue()
      endif()
      if(code MATCHES "${${kind}_pattern}")
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${path})
        string(STRIP "${line}" text)
        string(APPEND found "  ${shown}:${number}: ${text}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(found)
  message(FATAL_ERROR "colours named outside the scheme table:\n${found}")
endif()
list(LENGTH core_files core_count)
list(LENGTH qt_files qt_count)
message(STATUS "no colour literals in ${core_count} core files and ${qt_count} Qt backend files")
