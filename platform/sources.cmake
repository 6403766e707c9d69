list(APPEND CORE_SOURCES
  platform/mailsender.cpp
  platform/messages.cpp
)
list(APPEND GUI_SOURCES
  platform/cutstring.cpp
  platform/dialogs.cpp
  platform/panels.cpp
  platform/pictures.cpp
  platform/messageboxes.cpp
  platform/shellopen.cpp
  platform/widgets.cpp
)
