# Billing: the money of a bill (logic only).
foreach(file bill_settings guest_record bill_store room_charge consumption_types bill_core line_sums
        bill_calculator)
    list(APPEND FRONTDESK_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
