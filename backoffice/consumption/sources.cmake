# Consumption setup: kinds, classes, items, output points, discount schemes.
foreach(file consumption_lists store_change item_components item_type_change class_rates)
    list(APPEND BACKOFFICE_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${file}.cpp)
endforeach()
