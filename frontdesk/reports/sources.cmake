# Reports: the analysis and query reports of the front desk, on one shared frame and screen.
foreach(file report_frame line_sums sales_analysis item_analysis bill_analysis performance_analysis query_reports bill_detail)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
foreach(file report_screen report_grid_panel sales_analysis_screen table_analysis_screen item_analysis_screen
        operator_analysis_screen performance_analysis_screen query_screen bill_detail_screen)
    list(APPEND FRONTDESK_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
