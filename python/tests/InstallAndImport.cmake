# Runs as a test: installs the build into a scratch prefix and imports the installed module from its
# package folder, with no library path set: the module finds the library through its run path.
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} RESULT_VARIABLE result
                OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result})")
endif()
set(package ${prefix}/${PACKAGE_DIR})
if(NOT EXISTS ${package}/msarender/__init__.py)
  message(FATAL_ERROR "the package is not installed in ${package}")
endif()
set(ENV{PYTHONPATH} ${package})
unset(ENV{LD_LIBRARY_PATH})
execute_process(
  COMMAND ${PYTHON} -c "import msarender; f = msarender.render('${INPUT}', wrap=60); print(msarender.__file__, f.width)"
  WORKING_DIRECTORY ${WORK_DIR}  # not the build tree, whose own package `python -c` would find first
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT out MATCHES "^${package}/msarender/__init__.py [1-9]")
  message(FATAL_ERROR "the installed module did not draw (${result}): ${out}\n${err}")
endif()
