# solmar_core_library(NAME DIR [DEPS ...])
# A subsystem library: every .cpp in its folder, the project warnings, no Qt.
# The seam is the only way out of the core: linking a Qt target here fails the
# configure step, so the rule "no Qt in the subsystems" is enforced, not hoped for.
function(solmar_core_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC solmar_platform_api ${ARG_DEPS} PRIVATE solmar_warnings)
  foreach(dep IN LISTS ARG_DEPS)
    if(dep MATCHES "^Qt")
      message(FATAL_ERROR "${name}: subsystem libraries must not link Qt (${dep})")
    endif()
  endforeach()
endfunction()

# solmar_gtest(NAME SOURCES... LIBS ...): a GoogleTest executable registered with CTest.
function(solmar_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main solmar_warnings)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
