list(APPEND CORE_SOURCES
  platform/messages.cpp
)
