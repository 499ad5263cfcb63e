#pragma once

#include <string>

// Writes or removes the registry entries that make a host offer the band as a
// horizontal bar. Errors are raised as exceptions.
void registerEditBand(const std::string& modulePath);
void unregisterEditBand();
