# The module's pytest suite, run by ctest with Debian's interpreter against the module of this build tree;
# byte comparisons run the command built beside it.
set(python_test_env
  PYTHONPATH=${PROJECT_BINARY_DIR}/python
  MSARENDER_COMMAND=$<TARGET_FILE:msarender_cli>
  MSARENDER_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data
  MSARENDER_SHARED_DATA=${PROJECT_SOURCE_DIR}/../shared/data
  QT_QPA_PLATFORM=offscreen)
set(pytest ${Python_EXECUTABLE} -m pytest -q -p no:cacheprovider)
add_test(NAME python_module COMMAND ${pytest} -m "not notebook and not slow" ${CMAKE_CURRENT_SOURCE_DIR})
add_test(NAME python_module_slow COMMAND ${pytest} -m slow ${CMAKE_CURRENT_SOURCE_DIR})
add_test(NAME python_notebook COMMAND ${pytest} -m notebook ${CMAKE_CURRENT_SOURCE_DIR})
set_tests_properties(python_module python_module_slow python_notebook PROPERTIES
  ENVIRONMENT "${python_test_env}" TIMEOUT 600 LABELS python)

# `cmake --install` puts the package where the interpreter looks under the prefix.
add_test(NAME python_install
         COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DPACKAGE_DIR=${MSARENDER_PYTHON_INSTALL_DIR}
                 -DPYTHON=${Python_EXECUTABLE} -DINPUT=${PROJECT_SOURCE_DIR}/tests/data/globins4.sto
                 -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/install-scratch -P ${CMAKE_CURRENT_LIST_DIR}/InstallAndImport.cmake)
set_tests_properties(python_install PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600 RUN_SERIAL TRUE
                     LABELS python)
