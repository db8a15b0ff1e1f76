// Loading time of generated catalogues of 10k, 100k and 1M items, in
// milliseconds per megabyte, and how the time grows with ten times the items
// (a linear loader stays near 10).
//
// The program loads its catalogue once, into a fresh heap, so each load runs
// in a child process of its own: a heap left fragmented by an earlier load of
// a million parts scatters the next one's allocations over hundreds of
// megabytes and measures the cache, not the loader.
//
// Build with the release preset and run build/release/bin/catalogue_bench.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "catalogue/data_store.hpp"
#include "catalogue/data_store_loader.hpp"

namespace {

constexpr int kItemsPerSubcategory = 100;
constexpr int kSubcategoriesPerCategory = 100;
constexpr int kItemsPerRecord = 4;  // every fourth part has seller texts and actions

void Put32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out += static_cast<char>(value >> shift);
}

void Header(std::string& out, char type) {
  out += type;
  out.append(7, '\0');
}

// A catalogue shaped like a real one, only larger: named categories,
// subcategories and parts, and records with texts, a description and a
// position and a paint action.
std::string GenerateCatalogue(int items) {
  std::string tree;
  std::string records;
  const int categories = std::max(1, items / (kItemsPerSubcategory * kSubcategoriesPerCategory));
  char name[64];
  int made = 0;
  for (int category = 1; category <= categories && made < items; ++category) {
    const uint8_t kind = static_cast<uint8_t>(category % 4);
    tree += '#';
    tree += static_cast<char>(category);
    tree += static_cast<char>(kind);
    std::snprintf(name, sizeof name, "Kategorie %d", category);
    tree += name;
    tree += std::string("\0\n", 2);
    for (int sub = 1; sub <= kSubcategoriesPerCategory && made < items; ++sub) {
      std::snprintf(name, sizeof name, "Unterkategorie %d-%d", category, sub);
      tree += '$';
      tree += name;
      tree += std::string("\0\n", 2);
      for (int item = 1; item <= kItemsPerSubcategory && made < items; ++item, ++made) {
        std::snprintf(name, sizeof name, "Teil %06d", made);
        tree += '+';
        tree += name;
        tree += std::string("\0\n", 2);
        if (made % kItemsPerRecord != 0) continue;
        const uint32_t id =
            uint32_t{kind} << 24 | uint32_t(category) << 16 | uint32_t(sub) << 8 | uint32_t(item);
        Put32(records, id);
        records += std::string("Sportauspuff \"Donner\"\0\n", 23);
        records += std::string("Hergestellt in Handarbeit\0\n", 27);
        records += std::string("logo_donner\0\n", 13);
        records += std::string("\0\n", 2);
        const std::string description =
            "Ein kraftvoller Klang und ein Plus an Leistung: gebuerstetes Edelstahlrohr, "
            "Endkappe aus Carbon.";
        Put32(records, static_cast<uint32_t>(description.size() + 1));
        records += description;
        records += '\0';
        records += static_cast<char>(2);
        records += '\0';
        records += std::string("\x04\0\0\0", 4);
        Put32(records, id | 0xFF);
        records.append(16, '\0');
        records += std::string("\x08\0\0\0", 4);
        Put32(records, id);
        Put32(records, 0xFF203040);
        records.append(4, '\0');
      }
    }
  }
  std::string file;
  Header(file, 1);
  file += '\0';
  Header(file, 2);
  file += tree;
  file += static_cast<char>(0xA7);
  Header(file, 3);
  file += records;
  return file;
}

// One load in a child process; its time in milliseconds, or a negative
// number if the child failed.
double LoadInChild(const std::string& file) {
  int channel[2];
  if (pipe(channel) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.data()),
                                         file.size());
    // Never freed: the process ends right after, as the program's does.
    auto* store = new kbh::DataStore;
    const auto start = std::chrono::steady_clock::now();
    kbh::LoadDataStoreFromBytes(bytes, *store);
    const auto end = std::chrono::steady_clock::now();
    double milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
    if (store->nodeCount == 0) milliseconds = -1;
    const bool written = write(channel[1], &milliseconds, sizeof milliseconds) ==
                         static_cast<ssize_t>(sizeof milliseconds);
    _exit(written ? 0 : 1);
  }
  close(channel[1]);
  double milliseconds = -1;
  if (child < 0 || read(channel[0], &milliseconds, sizeof milliseconds) !=
                       static_cast<ssize_t>(sizeof milliseconds)) {
    milliseconds = -1;
  }
  close(channel[0]);
  int status = 0;
  if (child > 0) waitpid(child, &status, 0);
  return milliseconds;
}

}  // namespace

int main() {
  const int items[] = {10000, 100000, 1000000};
  constexpr int kSizes = 3;
  constexpr int kRounds = 9;
  std::string files[kSizes];
  for (int size = 0; size < kSizes; ++size)
    files[size] = GenerateCatalogue(items[size]);

  // Rounds take every size in turn, starting with a different one each time,
  // so that other work on the machine and what the previous child left in
  // the kernel's page lists weigh on all of them alike; each size keeps its
  // best time.
  double best[kSizes] = {1e300, 1e300, 1e300};
  for (int round = 0; round < kRounds; ++round) {
    for (int step = 0; step < kSizes; ++step) {
      const int size = (round + step) % kSizes;
      const double milliseconds = LoadInChild(files[size]);
      if (milliseconds < 0) {
        std::printf("a load failed\n");
        return 1;
      }
      best[size] = std::min(best[size], milliseconds);
    }
  }

  std::printf("%10s %10s %10s %10s\n", "items", "MB", "ms", "ms/MB");
  for (int size = 0; size < kSizes; ++size) {
    const double megabytes = static_cast<double>(files[size].size()) / (1024.0 * 1024.0);
    std::printf("%10d %10.2f %10.2f %10.2f\n", items[size], megabytes, best[size],
                best[size] / megabytes);
  }
  std::printf("time(100k) / time(10k) = %.2f\n", best[1] / best[0]);
  std::printf("time(1M) / time(100k) = %.2f\n", best[2] / best[1]);
  return 0;
}
