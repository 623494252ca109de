# Billing: the money of a bill (logic only).
foreach(file bill_settings guest_record bill_lines line_sums room_charge bill_calculator)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
