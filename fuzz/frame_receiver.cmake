kt_fuzz_target(frame_receiver ${CMAKE_CURRENT_LIST_DIR}/frame_receiver.cpp kt_clone kt_core kt_test_support)
