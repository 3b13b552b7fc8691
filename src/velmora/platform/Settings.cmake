# The login item (XDG autostart entry), used by the settings window and the onboarding.
target_sources(velmora_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LoginItem.cpp ${CMAKE_CURRENT_LIST_DIR}/LoginItem.h
)
