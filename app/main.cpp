// The program's first steps: the log, the system description and the
// catalogue. The window, the device and the workshop join as they arrive.
#include "app/error_log.hpp"
#include "catalogue/data_store.hpp"
#include "catalogue/data_store_loader.hpp"
#include "platform/os/message_box.hpp"

namespace {

constexpr int kNoFrameRateYetMin = 500;
constexpr int kNoFrameRateYetMax = 0;

}  // namespace

int main() {
  const kbh::ProgramDir programDir = kbh::ReadProgramDir();
  kbh::ErrorLog log(programDir);
  if (!log.CreateLogFile()) {
    kbh::ShowMessageBox("Error", "Couldn't create logfile. Please check for write-protection!",
                        kbh::MessageBoxIcon::kError);
    return 0;
  }
  log.WriteBanner();
  char osDescription[100] = {};
  log.WriteLog("\n\n.OS-Info: ");
  log.WriteLog(kbh::GetOSDescription(osDescription, sizeof osDescription));

  log.WriteLog("\n.creating data-store");
  kbh::DataStore dataStore;
  kbh::PathBuffer pathBuffer;
  if (!kbh::LoadDataStore(pathBuffer.Format("%s\\data\\firstData.khb", programDir.path.c_str()),
                          dataStore)) {
    log.WriteLog(" failed");
  }

  log.WritePerformanceBlock(kNoFrameRateYetMin, kNoFrameRateYetMax);
  return 0;
}
