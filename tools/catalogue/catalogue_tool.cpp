#include "tools/catalogue/catalogue_tool.hpp"

#include <algorithm>
#include <string_view>
#include <vector>

#include "catalogue/data_store.hpp"
#include "catalogue/data_store_loader.hpp"
#include "platform/os/os.hpp"
#include "tools/catalogue/catalogue_check.hpp"
#include "tools/catalogue/catalogue_compile.hpp"
#include "tools/catalogue/catalogue_dump.hpp"
#include "tools/common/json.hpp"

namespace kbh {
namespace {

constexpr const char* kUsage =
    "usage: kbh-catalogue dump --json FILE\n"
    "       kbh-catalogue compile SOURCE.json OUT.khb\n"
    "       kbh-catalogue check FILE\n";

int Usage(std::ostream& err) {
  err << kUsage;
  return kToolBadInput;
}

int Complain(std::ostream& err, const std::string& where, const std::string& message) {
  err << "kbh-catalogue: " << where << ": " << message << "\n";
  return kToolBadInput;
}

int Dump(const std::string& path, std::ostream& out, std::ostream& err) {
  DataStore store;
  if (!LoadDataStore(path, store)) return Complain(err, path, "cannot open the file");
  out << WriteJson(DumpCatalogue(store));
  return kToolSuccess;
}

int Compile(const std::string& source, const std::string& target, std::ostream& err) {
  std::vector<uint8_t> text;
  if (!ReadWholeFile(source, &text)) return Complain(err, source, "cannot read the file");
  JsonValue root;
  JsonError syntax;
  if (!ParseJson(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), &root,
                 &syntax)) {
    return Complain(
        err, source + ":" + std::to_string(syntax.line) + ":" + std::to_string(syntax.column),
        syntax.message);
  }
  std::vector<uint8_t> bytes;
  CompileError error;
  if (!CompileCatalogue(root, &bytes, &error)) {
    const std::string place =
        source + ":" + std::to_string(error.line) + ":" + std::to_string(error.column);
    return Complain(err, place, (error.path.empty() ? "" : error.path + ": ") + error.message);
  }
  if (!WriteWholeFile(target, bytes)) return Complain(err, target, "cannot write the file");
  return kToolSuccess;
}

int Check(const std::string& path, std::ostream& out, std::ostream& err) {
  DataStore store;
  LoadReport report;
  if (!LoadDataStore(path, store, &report)) return Complain(err, path, "cannot open the file");
  std::stable_sort(report.findings.begin(), report.findings.end(),
                   [](const LoadFinding& a, const LoadFinding& b) { return a.offset < b.offset; });
  for (const LoadFinding& finding : report.findings) {
    out << path << ": offset " << finding.offset << ": " << DescribeFinding(finding) << "\n";
  }
  return report.findings.empty() ? kToolSuccess : kToolFindings;
}

}  // namespace

int RunCatalogueTool(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
  if (arguments.empty()) return Usage(err);
  const std::string& command = arguments[0];
  if (command == "dump" && arguments.size() == 3 && arguments[1] == "--json") {
    return Dump(arguments[2], out, err);
  }
  if (command == "compile" && arguments.size() == 3)
    return Compile(arguments[1], arguments[2], err);
  if (command == "check" && arguments.size() == 2) return Check(arguments[1], out, err);
  return Usage(err);
}

}  // namespace kbh
