kt_fuzz_target(adjust_receiver ${CMAKE_CURRENT_LIST_DIR}/adjust_receiver.cpp kt_adjust kt_core)
