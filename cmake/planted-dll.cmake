# planted.dll: what the tests put beside the classic ipconfig under IP Helper's name.
add_library(planted SHARED tests/ipconfig/planted_dll.cpp)
set_target_properties(planted PROPERTIES PREFIX "")
target_link_options(planted PRIVATE -static)
