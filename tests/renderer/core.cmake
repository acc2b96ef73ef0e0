# Renderer state, layout, pixmap store, residue strips, ruler bands and cartoon lines.
msarender_test(renderer_core_tests
  ${CMAKE_CURRENT_LIST_DIR}/RenderLayoutTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PixmapStoreTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResidueBlockRenderingTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TrackCacheTest.cpp)
target_include_directories(renderer_core_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
