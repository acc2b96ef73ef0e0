# Runs the msarender program and checks its exit codes, images and files.
msarender_test(msarender_cli_tests ${CMAKE_CURRENT_LIST_DIR}/MsarenderCommandTest.cpp
               ${CMAKE_CURRENT_LIST_DIR}/MsarenderFigureTest.cpp
               ${CMAKE_CURRENT_LIST_DIR}/CommandBytesTest.cpp
               ${CMAKE_CURRENT_LIST_DIR}/PictureLimitsCommandTest.cpp
               ${CMAKE_CURRENT_LIST_DIR}/CommandFaultsTest.cpp
               ${CMAKE_CURRENT_LIST_DIR}/ColumnStatsCommandTest.cpp
               ${CMAKE_CURRENT_LIST_DIR}/FigureMarksCommandTest.cpp)
target_compile_definitions(msarender_cli_tests PRIVATE MSARENDER_BINARY="$<TARGET_FILE:msarender_cli>")
add_dependencies(msarender_cli_tests msarender_cli)

# Unit tests of the command's option parsing.
msarender_test(msarender_cli_unit_tests ${CMAKE_CURRENT_LIST_DIR}/CommandPiecesTest.cpp)
target_link_libraries(msarender_cli_unit_tests PRIVATE msarender_cli_lib)

# SVG, PDF and EPS from the program, read back by an XML parser, Poppler, librsvg and Ghostscript.
msarender_test(msarender_vector_tests ${CMAKE_CURRENT_LIST_DIR}/VectorOutputCommandTest.cpp)
target_compile_definitions(msarender_vector_tests PRIVATE MSARENDER_BINARY="$<TARGET_FILE:msarender_cli>")
add_dependencies(msarender_vector_tests msarender_cli)
