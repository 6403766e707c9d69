list(APPEND CORE_SOURCES
  shell/version.cpp
)
list(APPEND GUI_SOURCES
  shell/application.cpp
  shell/apropos.cpp
  shell/formgeneral.cpp
  shell/langmodule.cpp
  shell/mdiparent.cpp
  shell/personnalisation.cpp
  shell/singleinstance.cpp
  shell/splash.cpp
)
