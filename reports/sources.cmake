list(APPEND CORE_SOURCES
  reports/applicationreport.cpp
  reports/statistics.cpp
  reports/statsthread.cpp
)
list(APPEND GUI_SOURCES
  reports/calendrier.cpp
  reports/legende.cpp
  reports/listingreport.cpp
  reports/reportwindows.cpp
)
