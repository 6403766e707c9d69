list(APPEND CORE_SOURCES
  applications/listingrules.cpp
  applications/sort.cpp
)
list(APPEND GUI_SOURCES
  applications/listinggrid.cpp
  applications/listingmodel.cpp
  applications/listingpage.cpp
)
