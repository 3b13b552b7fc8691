# The shell's platform facilities: global hot key, single instance, self-update, analytics.
find_package(Qt6 REQUIRED COMPONENTS Network DBus)

target_sources(velmora_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Analytics.cpp ${CMAKE_CURRENT_LIST_DIR}/Analytics.h
  ${CMAKE_CURRENT_LIST_DIR}/HotKey.cpp ${CMAKE_CURRENT_LIST_DIR}/HotKey.h
  ${CMAKE_CURRENT_LIST_DIR}/HotKeyPortal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.cpp ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.h
  ${CMAKE_CURRENT_LIST_DIR}/Updater.cpp ${CMAKE_CURRENT_LIST_DIR}/Updater.h
)
target_link_libraries(velmora_platform PUBLIC Qt6::Network Qt6::DBus)

if(TARGET PkgConfig::X11)
  target_sources(velmora_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/HotKeyX11.cpp)
  target_link_libraries(velmora_platform PRIVATE PkgConfig::X11)
else()
  target_sources(velmora_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/HotKeyNoX11.cpp)
endif()
