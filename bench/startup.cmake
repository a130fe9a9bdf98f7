# ktz30's start-up time to the main window.
if(TARGET kt_appqt)
  add_executable(bench_startup ${CMAKE_CURRENT_LIST_DIR}/startup.cpp)
  target_link_libraries(bench_startup PRIVATE kt_appqt Qt6::Widgets)
endif()
