#pragma once
// Documents and helpers shared by the project tests.

#include "project.h"

#include <string>

namespace wharf::testing {

// The folder the rich sample's relative sources are relative to, and the
// folder it is written to (Windows form, as a project made on Windows).
inline constexpr const char *kSampleFolder = "C:\\Setups\\Harbour\\";

// A project that uses every section: default and non-default entries, an
// external file, a relative source two folders up, a registry value under a
// root, a key-only entry, a key with only subkeys, text outside ASCII.
Project richSample();

// The bytes of a fixture file of tests/fixtures.
std::string fixture(const std::string &name);

// Appends a registry key or value node and returns it.
RegistryNode &addKey(std::vector<RegistryNode> &children, const std::string &name);
RegistryNode &addValue(std::vector<RegistryNode> &children, const std::string &name, const std::string &type,
                       const std::string &data);

} // namespace wharf::testing
