# Comparing two images and listing what differs.
add_executable(bench_compare ${CMAKE_CURRENT_LIST_DIR}/compare_bench.cpp)
target_link_libraries(bench_compare PRIVATE kt_app kt_test_support benchmark::benchmark)
# The differences window opening on two full images.
if(TARGET kt_appqt)
  add_executable(bench_compare_window ${CMAKE_CURRENT_LIST_DIR}/compare_window_bench.cpp)
  target_link_libraries(bench_compare_window PRIVATE kt_appqt kt_test_support benchmark::benchmark
    Qt6::Widgets)
endif()
