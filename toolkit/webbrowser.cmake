target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WebBrowserHost.cpp)
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/StreamAdapter.cpp)
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WebBrowser.cpp)
