# kelda_add_test(NAME SOURCES src... [LIBS lib...])
# One GoogleTest executable per topic; every TEST is registered with CTest.
find_package(GTest REQUIRED)
include(GoogleTest)

function(kelda_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main kelda::compile_options)
  target_compile_definitions(${name} PRIVATE
    KELDA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KELDA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "KELDA_BINARY_DIR=${PROJECT_BINARY_DIR}")
endfunction()
