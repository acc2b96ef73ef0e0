# Runs the msarender program and checks its exit codes, images and files.
if(TARGET msarender_cli)
  msarender_test(msarender_cli_tests ${CMAKE_CURRENT_LIST_DIR}/MsarenderCommandTest.cpp)
  target_compile_definitions(msarender_cli_tests PRIVATE MSARENDER_BINARY="$<TARGET_FILE:msarender_cli>")
  add_dependencies(msarender_cli_tests msarender_cli)
endif()

# The streaming PNG encoder and the file writing of the command.
if(TARGET msarender_cli_lib)
  msarender_test(msarender_png_tests ${CMAKE_CURRENT_LIST_DIR}/PngWriterTest.cpp)
  target_link_libraries(msarender_png_tests PRIVATE msarender_cli_lib)
endif()
