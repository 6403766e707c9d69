# The rules of the page copy and the favourites need Qt Core only.
list(APPEND CORE_SOURCES
  browser/favoris.cpp
  browser/pagecopy.cpp
  browser/pageimport.cpp
)

# The dialogs that place an imported page need no web engine.
list(APPEND GUI_SOURCES
  browser/associercandidature.cpp
  browser/importchoice.cpp
  browser/importdialog.cpp
  browser/importercomme.cpp
)

# The browser page and the page conversion: the only code that links Qt
# WebEngine. Nothing of it starts before the browser page is first shown.
find_package(Qt6 REQUIRED COMPONENTS WebEngineWidgets Concurrent)
add_library(orvaldis_browser STATIC
  browser/ajoutfavori.cpp
  browser/conversion.cpp
  browser/fetcher.cpp
  browser/html2pdf.cpp
  browser/navigateur.cpp
  browser/renderer.cpp
)
target_link_libraries(orvaldis_browser PUBLIC orvaldis_core orvaldis_gui Qt6::Widgets
  Qt6::Network Qt6::Concurrent Qt6::WebEngineWidgets)
target_compile_options(orvaldis_browser PRIVATE -Wall -Wextra)
