kt_fuzz_target(channel_csv ${CMAKE_CURRENT_LIST_DIR}/channel_csv.cpp kt_app kt_sheets kt_core kt_test_support)
