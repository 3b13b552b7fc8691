# Opening applications and loading their icons (.desktop through GIO, .app bundles
# through their Info.plist).
target_sources(velmora_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Workspace.cpp ${CMAKE_CURRENT_LIST_DIR}/Workspace.h)
target_link_libraries(velmora_platform PRIVATE velmora_library PkgConfig::GIO PkgConfig::PLIST)
