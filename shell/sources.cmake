list(APPEND CORE_SOURCES
  shell/version.cpp
)
list(APPEND GUI_SOURCES
  shell/application.cpp
  shell/apropos.cpp
  shell/formgeneral.cpp
  shell/langmodule.cpp
  shell/mdiparent.cpp
  shell/panels.cpp
  shell/personnalisation.cpp
  shell/pictures.cpp
  shell/singleinstance.cpp
  shell/splash.cpp
)
