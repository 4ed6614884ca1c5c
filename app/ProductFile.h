#pragma once
// The product file beside the settings file, read on a thread of its own so
// that the start does not wait for it, and read again when it changes on the
// disk (its time or size) or when the departments change. The register looks
// products up in the catalog of the last reading that finished.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "catalog/Catalog.h"
#include "sale/Department.h"

class ProductFile {
public:
    // Tells window with message once a reading has finished (Take then installs it).
    ProductFile(std::wstring folder, HWND window, UINT message);
    ~ProductFile();
    ProductFile(const ProductFile&) = delete;
    ProductFile& operator=(const ProductFile&) = delete;

    std::wstring Path() const { return path_; }
    // Reads the file again, now, with the departments given.
    void Reload(const regi::Departments& departments);
    // Reads it again when it has changed since the last reading; a cheap look at its time and size.
    void ReloadIfChanged(const regi::Departments& departments);
    // The finished reading, when one came: the faults to tell once; empty for none.
    std::wstring Take();
    // Waits for a reading under way to finish (the tests, and the end).
    void Wait();

    std::shared_ptr<const catalog::Catalog> Products() const { return products_; }
    // What the settings show: how many products, from the file of which time.
    std::wstring Status() const;
    const std::vector<catalog::Fault>& Faults() const { return faults_; }

private:
    struct Stamp {
        bool exists = false;
        std::uint64_t written = 0, size = 0;
        bool operator==(const Stamp& other) const {
            return exists == other.exists && written == other.written && size == other.size;
        }
    };
    Stamp Look() const;

    std::wstring path_;
    HWND window_;
    UINT message_;
    std::thread reader_;
    std::mutex lock_;
    std::unique_ptr<catalog::ReadResult> finished_;  // under lock_
    std::unique_ptr<std::wstring> unreadable_;       // under lock_: why the file could not be read
    Stamp reading_, read_;                           // of the reading under way, of the last one taken
    bool busy_ = false;
    std::shared_ptr<const catalog::Catalog> products_;
    std::vector<catalog::Fault> faults_;
    std::wstring readAt_;  // the file's time of the last reading, as shown
    std::wstring problem_;
};
