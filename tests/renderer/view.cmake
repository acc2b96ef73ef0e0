# Composition of the view, hit testing and scrolling, image export.
msarender_test(renderer_view_tests
  ${CMAKE_CURRENT_LIST_DIR}/ViewCompositionTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HitTestingTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScrollToTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageExportTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TallBlocksTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PicturePlanTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AnnotationRowsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SequenceLogoTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/VectorPictureTest.cpp)
target_include_directories(renderer_view_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
