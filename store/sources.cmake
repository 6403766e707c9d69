list(APPEND CORE_SOURCES
  store/cp1252.cpp
  store/records.cpp
  store/alongside.cpp
  store/recordfile.cpp
  store/store.cpp
  store/journal.cpp
  store/texts.cpp
  store/systemerror.cpp
)
list(APPEND CORE_SOURCES
  store/filestamp.cpp
  store/folderlock.cpp
  store/helpers.cpp
  store/loader.cpp
  store/settings.cpp
  store/societeindex.cpp
)
list(APPEND CORE_SOURCES
  store/migration.cpp
  store/programstate.cpp
)
