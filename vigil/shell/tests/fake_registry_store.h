#pragma once
// The registry in memory for the host tests: key paths and value names are matched without
// regard to case, as the real registry does, and every operation is counted.
#include "vigil/shell/registry_store.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vigil::shell::fakes {

class RegistryStoreFake : public RegistryStore {
public:
    struct Value {
        std::string name; // as first written
        std::string text;
    };
    struct Key {
        std::map<std::string, Value> values; // by lower-cased name
    };

    // Every successful write in order, as (value name, text).
    std::vector<std::pair<std::string, std::string>> writes;
    int creates = 0;
    int opens = 0;
    int reads = 0;
    bool readOnly = false; // every create and write fails, as HKLM does for a standard user

    bool CreateKey(const std::string& keyPath) override {
        ++creates;
        if (readOnly)
            return HasKey(keyPath);
        keys_[Lower(keyPath)];
        return true;
    }

    bool WriteValue(const std::string& keyPath, const std::string& name,
                    const std::string& text) override {
        auto key = keys_.find(Lower(keyPath));
        if (readOnly || key == keys_.end())
            return false;
        Put(key->second, name, text);
        return true;
    }

    std::string ReadValue(const std::string& keyPath, const std::string& name) override {
        ++reads;
        auto key = keys_.find(Lower(keyPath));
        if (key == keys_.end())
            return {};
        auto value = key->second.values.find(Lower(name));
        return value == key->second.values.end() ? std::string() : value->second.text;
    }

    bool DeleteValue(const std::string& keyPath, const std::string& name) override {
        auto key = keys_.find(Lower(keyPath));
        return !readOnly && key != keys_.end() && key->second.values.erase(Lower(name)) > 0;
    }

    std::unique_ptr<RegistryKeyWriter> OpenForWriting(const std::string& keyPath) override {
        ++opens;
        if (!CreateKey(keyPath) || readOnly)
            return nullptr;
        return std::make_unique<Writer>(*this, keys_[Lower(keyPath)]);
    }

    // Test set-up and inspection, bypassing the counters.
    void Set(const std::string& keyPath, const std::string& name, const std::string& text) {
        Put(keys_[Lower(keyPath)], name, text, false);
    }
    bool HasKey(const std::string& keyPath) const { return keys_.count(Lower(keyPath)) > 0; }
    bool Has(const std::string& keyPath, const std::string& name) const {
        auto key = keys_.find(Lower(keyPath));
        return key != keys_.end() && key->second.values.count(Lower(name)) > 0;
    }
    const Key* Find(const std::string& keyPath) const {
        auto key = keys_.find(Lower(keyPath));
        return key == keys_.end() ? nullptr : &key->second;
    }

    static std::string Lower(std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    }

private:
    class Writer : public RegistryKeyWriter {
    public:
        Writer(RegistryStoreFake& store, Key& key) : store_(store), key_(key) {}
        bool Write(const std::string& name, const std::string& text) override {
            if (store_.readOnly)
                return false;
            store_.Put(key_, name, text);
            return true;
        }

    private:
        RegistryStoreFake& store_;
        Key& key_;
    };

    void Put(Key& key, const std::string& name, const std::string& text, bool count = true) {
        auto [it, added] = key.values.try_emplace(Lower(name), Value{name, text});
        if (!added)
            it->second.text = text;
        if (count)
            writes.emplace_back(name, text);
    }

    std::map<std::string, Key> keys_;
};

} // namespace vigil::shell::fakes
