# The program's identity, in one place: the version comes from project(VERSION),
# the application id names the desktop entry, the AppStream component and the
# window's app id, so a desktop can match all three.
#
# The project has no web domain of its own, so the id is built under the
# reserved `.example` top-level domain: nobody can register it, so the id claims
# no one else's name. Once the project has a home, set FOURFALL_APP_ID to its
# reversed domain; everything that names the id follows.
set(FOURFALL_APP_ID "example.fourfall.Fourfall"
    CACHE STRING "Reverse-DNS application id: desktop entry, AppStream id, window app id")
set(FOURFALL_VERSION ${PROJECT_VERSION})
