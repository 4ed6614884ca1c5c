// The product file's figures with 100,000 products: how long reading it takes,
// the memory the catalog holds, and one lookup. Prints them; never fails.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "catalog/Catalog.h"
#include "catalog/Scan.h"

int main() {
    using Clock = std::chrono::steady_clock;
    std::string file = "\xEF\xBB\xBF" "code,name,price,department\r\n";
    for (long long i = 0; i < 100000; ++i) {
        std::string digits = std::to_string(490000000000LL + i * 37);
        int sum = 0;
        bool three = true;
        for (auto c = digits.rbegin(); c != digits.rend(); ++c, three = !three) sum += (*c - '0') * (three ? 3 : 1);
        file += digits + std::to_string((10 - sum % 10) % 10) + ",\"\xE5\x95\x86\xE5\x93\x81 " + std::to_string(i) +
                "\"," + std::to_string(100 + i % 5000) + "," + std::to_string(1 + i % 9) + "\r\n";
    }
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    auto start = Clock::now();
    catalog::ReadResult read = catalog::ReadProducts(file, {}, [](int) { return true; });
    double loadMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);

    const int lookups = 1000000;
    std::string keyed = "4900000000372";  // product 1... made valid below
    keyed = std::to_string(490000000000LL + 37);
    {
        int sum = 0;
        bool three = true;
        for (auto c = keyed.rbegin(); c != keyed.rend(); ++c, three = !three) sum += (*c - '0') * (three ? 3 : 1);
        keyed += std::to_string((10 - sum % 10) % 10);
    }
    size_t found = 0;
    start = Clock::now();
    for (int i = 0; i < lookups; ++i)
        found += catalog::ReadCode(keyed, false, read.catalog, catalog::InStoreLayout{})->kind ==
                 regi::CodeRing::Kind::Product;
    double lookupUs = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / lookups;

    std::printf("products read: %zu of 100000, faults %zu\n", read.catalog.Size(), read.faults.size());
    std::printf("load: %.1f ms (limit 200 ms)\n", loadMs);
    std::printf("catalog memory: %.1f MB held, %.1f MB peak working set growth (limit 30 MB)\n",
                read.catalog.Bytes() / 1048576.0, (after.PeakWorkingSetSize - before.WorkingSetSize) / 1048576.0);
    std::printf("lookup of a scanned code: %.3f us (limit 5 us), found %zu\n", lookupUs, found);
    return 0;
}
