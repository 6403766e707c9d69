list(APPEND CORE_SOURCES
  directory/directoryrules.cpp
  directory/exportrules.cpp
  directory/importrules.cpp
)
list(APPEND GUI_SOURCES
  directory/ajoutfournisseur.cpp
  directory/companyfields.cpp
  directory/companysheet.cpp
  directory/directorypage.cpp
  directory/exportsoc.cpp
  directory/impressionsociete.cpp
  directory/importsoc.cpp
  directory/previsualisation.cpp
)
list(APPEND CORE_SOURCES
  directory/contactops.cpp
)
list(APPEND GUI_SOURCES
  directory/ajoutcontact.cpp
  directory/listecontacts.cpp
)
