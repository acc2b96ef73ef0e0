# The command over mutated copies of the real files with random options (mutate_run.py): a bounded run of
# a fixed seed in every suite, the sanitized one included, where a sanitizer report fails it too. Its own
# checks run beside it. Both carry the label "mutate" (ctest -L mutate).
find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND)
  message(STATUS "python3 not found: the mutation run is not registered")
  return()
endif()

set(mutate_seed_files
  fn3.sto srp-euk.sto globins4.sto Pkinase.sto jalview_uniref50.fa jalview_uniref50.fa.gz
  emboss_ecoli6s.aln seaview_nuc.aln globins50.afa globins50_hmmalign.a2m globins50.pir
  phyml_nucleic12.phy emboss_r17.selex)
list(TRANSFORM mutate_seed_files PREPEND ${PROJECT_SOURCE_DIR}/tests/data/)

add_test(NAME mutation_run
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/mutate_run.py
                 --binary $<TARGET_FILE:msarender_cli> --seed 20261208 --runs 100
                 --out ${CMAKE_CURRENT_BINARY_DIR}/mutation-run ${mutate_seed_files})
add_test(NAME mutation_run_checks
         COMMAND ${Python3_EXECUTABLE} -m unittest -v mutate_run_test
         WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
set_tests_properties(mutation_run mutation_run_checks PROPERTIES LABELS mutate TIMEOUT 300
                     ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PYTHONDONTWRITEBYTECODE=1")
