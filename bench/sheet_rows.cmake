# The memory sheet's edits on 16 rows at once: paste from text, fill down, the refresh.
if(TARGET kt_appqt)
  add_executable(bench_sheet_rows ${CMAKE_CURRENT_LIST_DIR}/sheet_rows.cpp)
  target_link_libraries(bench_sheet_rows PRIVATE kt_appqt benchmark::benchmark Qt6::Widgets)
endif()
