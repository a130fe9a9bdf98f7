kt_fuzz_target(fleet_plan ${CMAKE_CURRENT_LIST_DIR}/fleet_plan.cpp kt_app kt_core)
