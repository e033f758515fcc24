#include "modules/loggers/log_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "modules/loggers/car_log_conversion.h"
#include "modules/loggers/lambda_conversion.h"
#include "shell/image_end.h"
#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"

namespace loggers {

namespace {

constexpr size_t kCopyPiece = 65536;
constexpr uint64_t kMegabyte = 1 << 20;
// Smaller files are made before a window could be seen.
constexpr uint64_t kWaitWindowFrom = 16 * kMegabyte;

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

uint64_t fileSize(const std::string& path) {
  std::error_code e;
  const auto size = std::filesystem::file_size(path, e);
  return e ? 0 : size;
}

bool isFolder(const std::string& path) {
  std::error_code e;
  return std::filesystem::is_directory(path, e);
}

}  // namespace

int32_t convertCarLogFile(const std::string& logPath, const std::string& outputPath,
                          const std::string& sideFilePath, const VehicleData& vehicle,
                          ConversionOptions options, ConversionCounts* counts) {
  std::ifstream log;
  if (!isFolder(logPath)) log.open(logPath, std::ios::binary);
  if (!log) return texts::kTextCannotOpenLogFile;
  std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
  if (!out) return texts::kTextCannotOpenLogFile;
  std::ofstream raw(replaceExtension(outputPath, ".bin"), std::ios::binary | std::ios::trunc);
  if (!raw) return texts::kTextCannotOpenLogFile;
  std::ofstream side(sideFilePath, std::ios::binary | std::ios::app);
  if (!side) return texts::kTextCannotOpenLogFile;
  options.inputSize = fileSize(logPath);
  int32_t r = convertCarLog(log, vehicle, out, &raw, &side, options, counts);
  out.close();
  raw.close();
  side.close();
  if (r == 0 && (!out || !raw || !side)) r = texts::kTextFileWriteError;
  return r;
}

int32_t convertLambdaLogFile(const std::string& logPath, const std::string& outputPath,
                             const std::string& sideFilePath, ConversionOptions options,
                             ConversionCounts* counts) {
  if (isFolder(logPath)) return texts::kTextCannotOpenLogFile;
  File log(std::fopen(logPath.c_str(), "rb"));
  if (!log) return texts::kTextCannotOpenLogFile;
  const uint32_t inUse = shell::findImageEnd(log.get());
  // The conversion stops at the first block not in use: with an erased
  // first block there is nothing to convert, whatever follows it.
  uint8_t first[512];
  std::rewind(log.get());
  const bool firstInUse =
      std::fread(first, 1, sizeof first, log.get()) == sizeof first && !blockErased(first);
  log.reset();
  if (inUse < 1 || !firstInUse) return texts::kTextFileEmpty;
  std::ifstream in(logPath, std::ios::binary);
  if (!in) return texts::kTextCannotOpenLogFile;
  std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
  if (!out) return texts::kTextCannotOpenLogFile;
  std::ofstream dump(replaceExtension(outputPath, "-Dump.bin"), std::ios::binary | std::ios::trunc);
  if (!dump) return texts::kTextCannotOpenLogFile;
  std::ofstream side(sideFilePath, std::ios::binary | std::ios::app);
  if (!side) return texts::kTextCannotOpenLogFile;
  options.inputSize = inUse;
  int32_t r = convertLambdaLog(in, out, &dump, options, counts);
  out.close();
  dump.close();
  if (r == 0 && (!out || !dump)) r = texts::kTextFileWriteError;
  return r;
}

int32_t writeErasedFile(const std::string& path, uint64_t bytes, size_t piece, int piecesPerStep,
                        shell::UserPrompts* prompts) {
  if (isFolder(path)) return texts::kTextCannotOpenLogFile;
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return texts::kTextCannotOpenLogFile;
  const std::vector<unsigned char> erased(piece, 0xFF);
  uint64_t left = bytes;
  bool ok = true;
  for (int pieces = 1; left > 0 && ok; ++pieces) {
    const size_t n = left < piece ? static_cast<size_t>(left) : piece;
    ok = std::fwrite(erased.data(), 1, n, file.get()) == n;
    left -= n;
    if (prompts != nullptr && piecesPerStep > 0 && pieces % piecesPerStep == 0) {
      prompts->stepWaitWindow();
    }
  }
  ok = std::fclose(file.release()) == 0 && ok;
  if (ok) return 0;
  std::remove(path.c_str());
  return texts::kTextFileWriteError;
}

int32_t createCarLogFile(const std::string& folder, int32_t hours, shell::UserPrompts& prompts) {
  if (hours < kMinHours || hours > kMaxHours) return texts::kTextParameterOutOfRange;
  const uint64_t bytes = carLogFileBytes(hours);
  const bool window = bytes >= kWaitWindowFrom;
  if (window) {
    prompts.openWaitWindow(static_cast<int32_t>((bytes + kMegabyte - 1) / kMegabyte),
                           texts::kTextCreatingLogFile);
  }
  const int32_t r = writeErasedFile(folder + "/" + kLogFileName, bytes, kMegabyte, 1,
                                    window ? &prompts : nullptr);
  if (window) prompts.closeWaitWindow();
  return r;
}

int32_t createSerialLogFile(const std::string& folder, int32_t megabytes,
                            shell::UserPrompts& prompts) {
  if (megabytes < 1 || megabytes > 999) return texts::kTextParameterOutOfRange;
  prompts.openWaitWindow(megabytes, texts::kTextCreatingLogFile);
  const int32_t r =
      writeErasedFile(folder + "/" + kLogFileName, static_cast<uint64_t>(megabytes) * kMegabyte,
                      kCopyPiece, 16, &prompts);
  prompts.closeWaitWindow();
  return r;
}

int32_t copyRecordedLog(const std::string& logPath,
                        const std::function<bool(std::string& copyPath)>& chooseCopyPath,
                        shell::UserPrompts& prompts) {
  if (isFolder(logPath)) return texts::kTextCannotOpenLogFile;
  File log(std::fopen(logPath.c_str(), "r+b"));
  if (!log) return texts::kTextCannotOpenLogFile;
  const uint32_t n = shell::findImageEnd(log.get());
  if (n == 0) return texts::kTextFileEmpty;
  std::string copyPath;
  if (!chooseCopyPath(copyPath)) return texts::kTextCancelled;
  if (isFolder(copyPath)) return texts::kTextCannotOpenLogFile;
  File copy(std::fopen(copyPath.c_str(), "wb"));
  if (!copy) return texts::kTextCannotOpenLogFile;
  std::rewind(log.get());
  prompts.openWaitWindow(static_cast<int32_t>(n / kCopyPiece), texts::kTextReadingLogFile);
  std::vector<unsigned char> piece(kCopyPiece);
  int32_t r = 0;
  for (uint32_t done = 0; done < n && r == 0;) {
    const size_t want = std::min<size_t>(kCopyPiece, n - done);
    if (std::fread(piece.data(), 1, want, log.get()) != want) {
      r = texts::kTextFileReadError;
    } else if (std::fwrite(piece.data(), 1, want, copy.get()) != want) {
      r = texts::kTextFileWriteError;
    }
    done += static_cast<uint32_t>(want);
    prompts.stepWaitWindow();
  }
  if (std::fclose(copy.release()) != 0 && r == 0) r = texts::kTextFileWriteError;
  prompts.closeWaitWindow();
  if (r != 0) return r;
  if (!prompts.askYesNo(texts::kTextDeleteOriginalLog)) return 0;
  std::rewind(log.get());
  const std::vector<unsigned char> erased(kCopyPiece, 0xFF);
  for (uint32_t done = 0; done < n;) {
    const size_t want = std::min<size_t>(kCopyPiece, n - done);
    if (std::fwrite(erased.data(), 1, want, log.get()) != want) return texts::kTextFileWriteError;
    done += static_cast<uint32_t>(want);
  }
  if (std::fclose(log.release()) != 0) return texts::kTextFileWriteError;
  return 0;
}

}  // namespace loggers
