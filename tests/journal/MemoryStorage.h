#pragma once
// The journal's files kept in memory, for the session's tests: files by path,
// and the faults a test wants a path to raise, as the disk would.
#include <map>
#include <set>
#include <string>

#include "journal/Storage.h"

namespace journal_test {

class MemoryStorage : public journal::Storage {
public:
    std::map<std::wstring, std::string> files;
    // A path named here fails every call with its fault.
    std::map<std::wstring, journal::Fault> failing;
    std::set<std::wstring> heldElsewhere;  // held for writing by another program
    int reads = 0;                         // Read calls, to see how much a load reads
    std::int64_t bytesRead = 0;            // and the bytes they read

    journal::Status Size(const std::wstring& path, std::int64_t& size) override {
        if (journal::Status fault = Fault(path); !fault) return fault;
        auto file = files.find(path);
        if (file == files.end()) return Fail(journal::Fault::Missing);
        size = static_cast<std::int64_t>(file->second.size());
        return {};
    }
    journal::Status Read(const std::wstring& path, std::int64_t offset, std::string& bytes) override {
        ++reads;
        if (journal::Status fault = Fault(path); !fault) return fault;
        auto file = files.find(path);
        if (file == files.end()) return Fail(journal::Fault::Missing);
        if (offset < 0 || static_cast<size_t>(offset) + bytes.size() > file->second.size())
            return Fail(journal::Fault::Other);
        bytes = file->second.substr(static_cast<size_t>(offset), bytes.size());
        bytesRead += static_cast<std::int64_t>(bytes.size());
        return {};
    }
    journal::Status ReadWhole(const std::wstring& path, std::size_t maxSize, std::string& bytes) override {
        if (journal::Status fault = Fault(path); !fault) return fault;
        auto file = files.find(path);
        if (file == files.end()) return Fail(journal::Fault::Missing);
        if (file->second.size() > maxSize) return Fail(journal::Fault::Other);
        bytes = file->second;
        return {};
    }
    bool HeldElsewhere(const std::wstring& path) override { return heldElsewhere.count(path) > 0; }
    journal::Status Hold(const std::wstring& path) override {
        if (heldElsewhere.count(path)) return Fail(journal::Fault::Busy);
        if (journal::Status fault = Fault(path); !fault) return fault;
        files[path];
        held_.insert(path);
        return {};
    }
    bool Holds(const std::wstring& path) const override { return held_.count(path) > 0; }
    journal::Status Append(const std::wstring& path, const std::string& bytes) override {
        if (journal::Status fault = Fault(path); !fault) return fault;
        if (!Holds(path)) return Fail(journal::Fault::Other);
        files[path] += bytes;
        return {};
    }
    journal::Status Replace(const std::wstring& path, const std::string& bytes) override {
        if (journal::Status fault = Fault(path); !fault) return fault;
        files[path] = bytes;
        return {};
    }
    journal::Status Remove(const std::wstring& path) override {
        if (journal::Status fault = Fault(path); !fault) return fault;
        return files.erase(path) ? journal::Status{} : Fail(journal::Fault::Missing);
    }
    journal::Status Rename(const std::wstring& from, const std::wstring& to) override {
        if (journal::Status fault = Fault(from); !fault) return fault;
        if (files.count(to)) return Fail(journal::Fault::Exists);
        auto file = files.find(from);
        if (file == files.end()) return Fail(journal::Fault::Missing);
        files[to] = file->second;
        files.erase(from);
        return {};
    }
    // What another program holding the journal until now lets go of.
    void Release() { held_.clear(); }

private:
    static journal::Status Fail(journal::Fault fault) { return {fault, L"(the reason)"}; }
    journal::Status Fault(const std::wstring& path) const {
        auto fault = failing.find(path);
        return fault == failing.end() ? journal::Status{} : Fail(fault->second);
    }

    std::set<std::wstring> held_;
};

}  // namespace journal_test
