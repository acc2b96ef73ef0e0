# Widget tests of the msaview viewer. They need a QApplication, so they bring their own main instead of
# the QGuiApplication one of msarender_test().
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
add_executable(msaview_tests
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewTestMain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewTestSupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../support/TestFont.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewLogicTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewViewTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewWindowTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewScrollingTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewTallTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewNavigationTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewSelectionTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewFeaturesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewPanelsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewTreeTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewReferenceTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewStartupTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewVectorExportTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MsaviewAnnotationRowsTest.cpp)
target_include_directories(msaview_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(msaview_tests PRIVATE msaview_lib GTest::gtest Qt6::Test)
target_compile_definitions(msaview_tests PRIVATE MSARENDER_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
                                                 MSAVIEW_BINARY="$<TARGET_FILE:msaview>")
add_dependencies(msaview_tests msaview)
msarender_warnings(msaview_tests)
gtest_discover_tests(msaview_tests DISCOVERY_MODE PRE_TEST
                     PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
