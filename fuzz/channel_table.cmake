kt_fuzz_target(channel_table ${CMAKE_CURRENT_LIST_DIR}/channel_table.cpp kt_app kt_sheets kt_core kt_test_support)
