// Hostile files for every reader: giant counts, a compressed file whose
// blocks inflate to gigabytes, nesting 100,000 deep, impossible DDS headers
// and a catalogue block of 4 GB. Each must be refused with a reason in under
// 100 ms and 64 MB of memory growth.
//
// Every case runs in a child process of its own, so the peak resident size
// one case leaves behind cannot hide the next one's.
//
// Build with the release (or dev) preset and run build/<preset>/bin/hostile_bench.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "catalogue/data_store.hpp"
#include "catalogue/data_store_loader.hpp"
#include "platform/image/dds_reader.hpp"
#include "platform/image/image_codec.hpp"
#include "platform/mesh/mszip.hpp"
#include "platform/mesh/xfile.hpp"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr double kMaxMilliseconds = 100.0;
constexpr double kMaxMegabytes = 64.0;

struct Answer {
  bool refused = false;
  std::string reason;
};

// The file is made in the child that measures it, so no case's file sits in
// the memory of the others.
struct HostileCase {
  const char* name;
  std::function<Bytes()> make;
  std::function<Answer(std::span<const uint8_t>)> read;
};

// --- Building the files ----------------------------------------------------------

void Append16(Bytes* out, uint32_t value) {
  out->push_back(static_cast<uint8_t>(value));
  out->push_back(static_cast<uint8_t>(value >> 8));
}

void Append32(Bytes* out, uint32_t value) {
  Append16(out, value & 0xFFFF);
  Append16(out, value >> 16);
}

// PNG numbers are big-endian.
void Append32Be(Bytes* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out->push_back(static_cast<uint8_t>(value >> shift));
}

void AppendText(Bytes* out, const std::string& text) {
  out->insert(out->end(), text.begin(), text.end());
}

Bytes XText(const std::string& body) {
  Bytes out;
  AppendText(&out, "xof 0303txt 0032" + body);
  return out;
}

// A binary body: the Mesh name and brace, then the vertex count as an integer
// list, and whatever the caller adds.
Bytes XBinaryMesh() {
  Bytes out;
  AppendText(&out, "xof 0303bin 0032");
  Append16(&out, 1);  // name
  Append32(&out, 4);
  AppendText(&out, "Mesh");
  Append16(&out, 10);  // {
  return out;
}

void AppendIntegerList(Bytes* out, std::initializer_list<uint32_t> values) {
  Append16(out, 6);
  Append32(out, static_cast<uint32_t>(values.size()));
  for (const uint32_t value : values)
    Append32(out, value);
}

void AppendFloatList(Bytes* out, std::initializer_list<float> values) {
  Append16(out, 7);
  Append32(out, static_cast<uint32_t>(values.size()));
  for (const float value : values) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    Append32(out, bits);
  }
}

const std::string kTriangle = "3; 0;0;0;, 1;0;0;, 0;1;0;;";

// Every block declares the largest size and inflates to it; the size field
// declares their total. The block is packed once and repeated.
Bytes ZipBomb(uint32_t blockCount, uint8_t filler) {
  Bytes oneBlock;
  const Bytes plain(kbh::kMsZipBlockSize, filler);
  kbh::DeflateMsZip(plain, &oneBlock);
  const Bytes blockBytes(oneBlock.begin() + 4, oneBlock.end());  // without the size field
  Bytes out;
  AppendText(&out, "xof 0303bzip0032");
  const uint64_t total = uint64_t{blockCount} * kbh::kMsZipBlockSize + 16;
  Append32(&out, static_cast<uint32_t>(std::min<uint64_t>(total, 0xFFFFFFFF)));
  for (uint32_t i = 0; i < blockCount; ++i)
    out.insert(out.end(), blockBytes.begin(), blockBytes.end());
  return out;
}

// The same, but the body is text: one mesh whose vertex list runs through
// every block, so that the parser is handed as many vertices as they carry.
Bytes VertexBomb(uint32_t blockCount) {
  const size_t size = size_t{blockCount} * kbh::kMsZipBlockSize;
  std::string body = "Mesh { 99999999; ";
  body.reserve(size + 7);
  while (body.size() < size)
    body += "0;0;0;,";
  body.resize(size);
  const Bytes plain(body.begin(), body.end());
  Bytes out;
  AppendText(&out, "xof 0303tzip0032");
  kbh::DeflateMsZip(plain, &out, kbh::MsZipHistory::kCarried);
  return out;
}

Bytes DdsHeader(uint32_t width, uint32_t height, uint32_t mipCount, bool cube) {
  Bytes out;
  AppendText(&out, "DDS ");
  Append32(&out, 124);
  Append32(&out, 0x1007 | (mipCount > 1 ? 0x20000 : 0));
  Append32(&out, height);
  Append32(&out, width);
  Append32(&out, 0);  // pitch
  Append32(&out, 0);  // depth
  Append32(&out, mipCount);
  out.resize(76, 0);
  // A8R8G8B8
  for (const uint32_t field : {32u, 0x41u, 0u, 32u, 0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u})
    Append32(&out, field);
  Append32(&out, 0x1000 | (mipCount > 1 ? 0x400008 : 0) | (cube ? 0x8 : 0));
  Append32(&out, cube ? 0xFE00 : 0);
  out.resize(128, 0);
  return out;
}

// One category with one item and that item's record, whose description
// block declares 4 GB and is followed by a few bytes only.
Bytes CatalogueWithHugeBlock() {
  Bytes out;
  // Reserved so that gcc 12 sees no growth from empty (a false overflow warning).
  out.reserve(128);
  // A section header: its type, then seven bytes nobody reads.
  const auto header = [&](uint8_t type) { out.insert(out.end(), {type, 0, 0, 0, 0, 0, 0, 0}); };
  header(1);
  out.push_back(0);
  header(2);
  AppendText(&out, "#\x01\x01Wheels\n+Spoked wheel\n");
  out.push_back(0xA7);
  header(3);
  Append32(&out, kbh::MakeItemId(1, 1, 1, 1));
  AppendText(&out, "Spoked wheel\n120\nW1\nChrome\n");
  Append32(&out, 0xFFFFFFFF);
  AppendText(&out, "A wheel with many spokes.");
  out.push_back(0);
  Append16(&out, 0);
  return out;
}

// --- The readers -----------------------------------------------------------------

Answer ReadX(std::span<const uint8_t> bytes) {
  kbh::MeshData mesh;
  Answer answer;
  answer.refused = !kbh::ReadXFile(bytes, &mesh, &answer.reason);
  if (!answer.refused) {
    answer.reason = "accepted: " + std::to_string(mesh.vertices.size()) + " vertices";
  }
  return answer;
}

Answer ReadDds(std::span<const uint8_t> bytes) {
  kbh::Image image;
  Answer answer;
  answer.refused = !kbh::DecodeDdsImage(bytes, &image, &answer.reason);
  if (!answer.refused) answer.reason = "accepted";
  return answer;
}

// The picture reader names no reason; its refusal is the answer.
Answer ReadPicture(std::span<const uint8_t> bytes) {
  kbh::Image image;
  Answer answer;
  answer.refused = !kbh::DecodeImage(bytes, &image);
  answer.reason = answer.refused ? "refused" : "accepted";
  return answer;
}

Answer ReadDdsCube(std::span<const uint8_t> bytes) {
  kbh::CubeImage cube;
  Answer answer;
  answer.refused = !kbh::DecodeDdsCube(bytes, &cube, &answer.reason);
  if (!answer.refused) answer.reason = "accepted";
  return answer;
}

// The loader never refuses a whole file: it reads what the file holds and
// reports what it cut. Refusing the block is what counts here.
Answer ReadCatalogue(std::span<const uint8_t> bytes) {
  kbh::DataStore store;
  kbh::LoadReport report;
  kbh::LoadDataStoreFromBytes(bytes, store, &report);
  Answer answer;
  for (const kbh::LoadFinding& finding : report.findings) {
    if (finding.kind == kbh::FindingKind::kBlockTooLong) {
      answer.refused = true;
      answer.reason = "description block of " + std::to_string(finding.value) +
                      " bytes refused at offset " + std::to_string(finding.offset) +
                      "; the record is cut";
    }
  }
  if (!answer.refused) answer.reason = "block accepted";
  return answer;
}

Bytes BinaryVertexCount() {
  Bytes bytes = XBinaryMesh();
  AppendIntegerList(&bytes, {2000000000});
  AppendFloatList(&bytes, {0, 0, 0, 1, 0, 0, 0, 1, 0});
  return bytes;
}

Bytes BinaryFaceCount() {
  Bytes bytes = XBinaryMesh();
  AppendIntegerList(&bytes, {3});
  AppendFloatList(&bytes, {0, 0, 0, 1, 0, 0, 0, 1, 0});
  AppendIntegerList(&bytes, {2000000000, 3, 0, 1, 2});
  return bytes;
}

Bytes TextNesting(const std::string& opening) {
  std::string text;
  for (int i = 0; i < 100000; ++i)
    text += opening;
  return XText(text);
}

Bytes BinaryFrames() {
  Bytes bytes;
  AppendText(&bytes, "xof 0303bin 0032");
  for (int i = 0; i < 100000; ++i) {
    Append16(&bytes, 1);
    Append32(&bytes, 5);
    AppendText(&bytes, "Frame");
    Append16(&bytes, 10);
  }
  return bytes;
}

// A 1 x 1 PNG whose pixel chunk claims 1 GB; the file holds a few bytes of it.
Bytes PngWithHugeChunk() {
  Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Append32Be(&bytes, 13);
  AppendText(&bytes, "IHDR");
  Append32Be(&bytes, 1);
  Append32Be(&bytes, 1);
  bytes.insert(bytes.end(), {8, 2, 0, 0, 0});
  Append32Be(&bytes, 0);  // the checksum is never reached
  Append32Be(&bytes, 0x40000000);
  AppendText(&bytes, "IDAT");
  bytes.insert(bytes.end(), 64, 0);
  return bytes;
}

// 256 x 256 allows nine levels; the data for those nine is there.
Bytes DdsWithTooManyLevels() {
  Bytes bytes = DdsHeader(256, 256, 12, false);
  bytes.resize(bytes.size() + 4 * 87381, 0x80);
  return bytes;
}

std::vector<HostileCase> Cases() {
  return {
      {"x text: 2,000,000,000 vertices",
       [] { return XText("Mesh { 2000000000; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }"); }, ReadX},
      {"x text: 2,000,000,000 faces",
       [] { return XText("Mesh { " + kTriangle + " 2000000000; 3;0,1,2;; }"); }, ReadX},
      {"x binary: 2,000,000,000 vertices", BinaryVertexCount, ReadX},
      {"x binary: 2,000,000,000 faces", BinaryFaceCount, ReadX},
      {"x MSZIP: 131,071 blocks inflating to 4 GB", [] { return ZipBomb(131071, 0); }, ReadX},
      {"x MSZIP: 8,000 blocks inflating to 250 MB", [] { return ZipBomb(8000, 0); }, ReadX},
      {"x MSZIP: 1,000 blocks of vertices (31 MB)", [] { return VertexBomb(1000); }, ReadX},
      // The most the reader inflates whatever the file's size.
      {"x MSZIP: 128 blocks of zeros (4 MB)", [] { return ZipBomb(128, 0); }, ReadX},
      {"x MSZIP: 128 blocks of vertices (4 MB)", [] { return VertexBomb(128); }, ReadX},
      {"x text: frames nested 100,000 deep", [] { return TextNesting("Frame {"); }, ReadX},
      {"x text: templates nested 100,000 deep",
       [] { return TextNesting("template Deep { <3D82AB43-62DA-11CF-AB39-0020AF71E433> "); },
       ReadX},
      {"x binary: frames nested 100,000 deep", BinaryFrames, ReadX},
      {"DDS: 65535 x 65535", [] { return DdsHeader(65535, 65535, 1, false); }, ReadDds},
      {"DDS cube: 65535 x 65535", [] { return DdsHeader(65535, 65535, 1, true); }, ReadDdsCube},
      {"DDS: 256 x 256 with 12 mip levels", DdsWithTooManyLevels, ReadDds},
      {"catalogue: block length of 4 GB", CatalogueWithHugeBlock, ReadCatalogue},
      {"PNG: a pixel chunk claiming 1 GB", PngWithHugeChunk, ReadPicture},
  };
}

// --- Measuring -------------------------------------------------------------------

struct Measurement {
  size_t fileBytes = 0;
  bool refused = false;
  double milliseconds = 0;
  double cpuMilliseconds = 0;
  double megabytes = 0;
  char reason[512] = {};
};

// The kernel's peak resident size of this process (what getrusage reports as
// ru_maxrss), read where it can be reset.
long PeakKilobytes() {
  long kilobytes = 0;
  if (FILE* file = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, file)) {
      if (std::sscanf(line, "VmHWM: %ld kB", &kilobytes) == 1) break;
    }
    std::fclose(file);
  }
  return kilobytes;
}

// On a machine shared with other work the wall clock also counts the time
// other processes had the processor; the limit applies to this one's.
double CpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Lowers the peak the kernel keeps for this process to what is resident now,
// so that making the file does not count as reading it.
void ResetPeak() {
  if (FILE* file = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", file);
    std::fclose(file);
  }
}

Measurement MeasureOnce(const HostileCase& hostile) {
  Measurement result;
  const Bytes bytes = hostile.make();
  result.fileBytes = bytes.size();
  ResetPeak();
  const long before = PeakKilobytes();
  const double cpuStart = CpuMilliseconds();
  const auto start = std::chrono::steady_clock::now();
  const Answer answer = hostile.read(bytes);
  const auto stop = std::chrono::steady_clock::now();
  result.cpuMilliseconds = CpuMilliseconds() - cpuStart;
  result.milliseconds = std::chrono::duration<double, std::milli>(stop - start).count();
  result.megabytes = static_cast<double>(PeakKilobytes() - before) / 1024.0;
  result.refused = answer.refused;
  std::snprintf(result.reason, sizeof result.reason, "%s", answer.reason.c_str());
  return result;
}

// False when the child died: a crash, a sanitizer abort, or the 10-second alarm.
bool MeasureInChild(const HostileCase& hostile, Measurement* result) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    alarm(10);
    const Measurement measured = MeasureOnce(hostile);
    const ssize_t written = write(pipeEnds[1], &measured, sizeof measured);
    _exit(written == static_cast<ssize_t>(sizeof measured) ? 0 : 1);
  }
  close(pipeEnds[1]);
  const ssize_t got = read(pipeEnds[0], result, sizeof *result);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return got == static_cast<ssize_t>(sizeof *result) && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

}  // namespace

int main() {
  int failures = 0;
  std::printf("%-44s %9s %8s %8s %8s  %s\n", "case", "file KB", "wall ms", "cpu ms", "peak MB",
              "result");
  for (const HostileCase& hostile : Cases()) {
    Measurement measured;
    const bool finished = MeasureInChild(hostile, &measured);
    const double kilobytes = static_cast<double>(measured.fileBytes) / 1024.0;
    if (!finished) {
      std::printf("%-44s %9.1f %8s %8s %8s  CRASHED or hung\n", hostile.name, kilobytes, "-", "-",
                  "-");
      ++failures;
      continue;
    }
    const bool withinLimits = measured.refused && measured.cpuMilliseconds < kMaxMilliseconds &&
                              measured.megabytes < kMaxMegabytes;
    if (!withinLimits) ++failures;
    std::printf("%-44s %9.1f %8.2f %8.2f %8.1f  %s: %s\n", hostile.name, kilobytes,
                measured.milliseconds, measured.cpuMilliseconds, measured.megabytes,
                withinLimits ? "ok" : "FAILS A LIMIT",
                measured.refused ? measured.reason : "ACCEPTED");
  }
  std::printf("%d of the cases fail a limit\n", failures);
  return failures == 0 ? 0 : 1;
}
