kt_fuzz_target(adjust_files ${CMAKE_CURRENT_LIST_DIR}/adjust_files.cpp kt_adjust kt_platform kt_core)
