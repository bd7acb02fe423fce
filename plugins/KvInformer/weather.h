// The weather pages on disk: building them from the services through the
// host, the index page, the browser, and the town searches.
#pragma once

#include <string>

#include "weather_pages.h"

// Base addresses from the settings ("KvGismeteoHost", "KvGismeteoSearchHost",
// "KvRp5Host"), with the services' own hosts as defaults.
WeatherHosts ConfiguredHosts();

// Builds "Weather-gismeteo.htm" and "Weather-rp5.htm" for the town numbers
// (each skipped when its number is empty, and stored when not), then writes
// "Weather-index.htm".
void UpdateWeatherPages(const std::string& gismeteoTown, const std::string& rp5Town);
// "Weather-index.htm" from the resource INDEXFILE; its path.
std::string WriteWeatherIndex();
// Opens the index page with "KvBrowser", else the system's browser, else
// explorer.exe.
void OpenWeatherIndex();

// The town numbers for a town name; a service that finds nothing leaves its
// number empty.
void SearchTowns(const std::string& townName, std::string& gismeteoTown, std::string& rp5Town);
