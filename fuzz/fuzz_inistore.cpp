// Any bytes as an INI file, then a run of writes, deletions and erasures
// taken from the same bytes: every look-up of the store (with its indexes)
// must give what a plain first-match search of the same lines gives.
#include "codec.h"
#include "inistore.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Section {
    std::string name;
    std::vector<std::string> lines;
};
using Model = std::vector<Section>;

// The sections and lines of the store as it saves them.
Model modelOf(const wharf::TMemIniStore &store)
{
    Model model;
    const std::string text = wharf::fromWindows1252(store.SaveToBytes());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find("\r\n", pos);
        const std::string line = text.substr(pos, end - pos);
        pos = end + 2;
        if (line.empty())
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            // A line of the form "[x]" is always a header: the loader took it as one.
            model.push_back({line.substr(1, line.size() - 2), {}});
        } else if (!model.empty()) {
            model.back().lines.push_back(line);
        }
    }
    return model;
}

Section *findSection(Model &model, const std::string &name)
{
    for (Section &s : model)
        if (wharf::sameTextIgnoreCase(s.name, name))
            return &s;
    return nullptr;
}

long findLine(const Section &section, const std::string &key)
{
    for (size_t i = 0; i < section.lines.size(); ++i) {
        const size_t eq = section.lines[i].find('=');
        if (eq != std::string::npos && wharf::sameTextIgnoreCase(section.lines[i].substr(0, eq), key))
            return static_cast<long>(i);
    }
    return -1;
}

std::string read(Model &model, const std::string &section, const std::string &key)
{
    const Section *s = findSection(model, section);
    const long line = s ? findLine(*s, key) : -1;
    if (line < 0)
        return "<none>";
    std::string value = s->lines[static_cast<size_t>(line)];
    value = value.substr(value.find('=') + 1);
    if (!value.empty() && value.front() == '"' && value.back() == '"')
        value = value.size() == 1 ? std::string() : value.substr(1, value.size() - 2);
    return value;
}

const char *const kNames[] = {"a", "A", "b", "B", "Key", "kEY", "S", ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    wharf::TMemIniStore store("");
    store.LoadFromBytes(input);
    Model model;
    try {
        model = modelOf(store);
    } catch (const wharf::EFCreateError &) {
        return 0; // a character without a Windows-1252 form: nothing to compare
    }
    const auto check = [&] {
        for (const char *section : kNames)
            for (const char *key : kNames)
                if (store.ReadString(section, key, "<none>") != read(model, section, key))
                    std::abort();
        for (const Section &s : model)
            if (!store.SectionExists(s.name))
                std::abort();
    };
    check();
    // The ops: three bytes each, taken from the end of the input.
    for (size_t at = size; at >= 3 && at + 64 > size; at -= 3) {
        const uint8_t op = data[at - 1] % 5;
        const std::string section = kNames[data[at - 2] % 8];
        const std::string key = kNames[data[at - 3] % 8];
        if (op <= 1) {
            const std::string value = "v" + std::to_string(at);
            store.WriteString(section, key, value);
            Section *s = findSection(model, section);
            if (!s) {
                model.push_back({section, {}});
                s = &model.back();
            }
            const long line = findLine(*s, key);
            if (line >= 0)
                s->lines[static_cast<size_t>(line)] = key + "=" + value;
            else
                s->lines.push_back(key + "=" + value);
        } else if (op == 2) {
            store.DeleteKey(section, key);
            if (Section *s = findSection(model, section))
                if (const long line = findLine(*s, key); line >= 0)
                    s->lines.erase(s->lines.begin() + line);
        } else if (op == 3) {
            store.EraseSection(section);
            if (Section *s = findSection(model, section))
                model.erase(model.begin() + (s - model.data()));
        } else if (store.ReadString(section, key, "<none>") != read(model, section, key)) {
            std::abort();
        }
    }
    check();
    return 0;
}
