list(APPEND CORE_SOURCES
  applications/deletion.cpp
  applications/documents.cpp
  applications/listingrules.cpp
  applications/sort.cpp
)
list(APPEND GUI_SOURCES
  applications/applicationspage.cpp
  applications/choixcontacts.cpp
  applications/editor.cpp
  applications/editorview.cpp
  applications/formlierdoc.cpp
  applications/formvoir.cpp
  applications/fournisseurs.cpp
  applications/listinggrid.cpp
  applications/listingmodel.cpp
  applications/listingpage.cpp
)
