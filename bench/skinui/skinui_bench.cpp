// SkinUI timings, each printed beside a reference measured in the same run:
//   open   reading the archive file, opening it, building the 600 x 400
//          layout and painting the first frame  | decoding the same PNGs
//          with stb alone (bench/run.sh adds `7zz t` of the same archive)
//   full   repainting the whole frame           | filling and copying a
//          600 x 400 frame with plain loops
//   hover  moving the pointer onto another button and painting what changed
//
//          and `7zz t` of the same archive (a whole process: start-up,
//          reading, decoding, CRC checks)
//
// Usage: skinui_bench [ARCHIVE]   (default: the archive packed at build time)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "skinui/archive/seven_zip_archive.h"
#include "skinui/core/headless_backend.h"
#include "skinui/core/skin_setup.h"
#include "skinui/core/window_base.h"

namespace {

using namespace skinui;
using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

class BenchWindow : public SkinWindowBase {
 public:
  std::wstring WindowClassName() const override { return L"BenchWnd"; }
  std::wstring SkinFile() const override { return L"BenchWnd.xml"; }  // stored "benchWnd.xml"
  int ResourceType() const override { return kSkinFiles; }
};

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Archive file -> first painted frame. Returns the time; keeps nothing.
double OpenToFirstFrame(const std::string& path, int* controls) {
  const Clock::time_point start = Clock::now();
  SevenZipOpenResult opened = SevenZipArchive::Open(ReadFile(path));
  if (opened.error != SkinOpenError::kOk) {
    std::fprintf(stderr, "skinui_bench: %s\n", opened.text.c_str());
    std::exit(1);
  }
  InstallSkinSource(std::move(opened.archive));
  BenchWindow window;
  window.Create(nullptr, L"bench", kWsPopup | kWsVisible, 0);
  auto* native = static_cast<HeadlessWindow*>(window.Window());
  native->PaintNow();
  const Clock::time_point end = Clock::now();
  if (window.LayoutError().status != BuildStatus::kOk) {
    std::fprintf(stderr, "skinui_bench: %s\n", window.LayoutError().message.c_str());
    std::exit(1);
  }
  *controls = 0;
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 6; ++c)
      *controls += window.FindControl(L"c" + std::to_wstring(r) + L"_" + std::to_wstring(c)) != nullptr;
  window.DestroyWindow();
  ResetSkinSetup();
  return Ms(start, end);
}

// Reference: the same archive's PNGs decoded with stb alone (the archive
// opened once beforehand, outside the timing).
double DecodeWithStb(const std::string& path, std::size_t* pngs) {
  SevenZipOpenResult opened = SevenZipArchive::Open(ReadFile(path));
  std::vector<std::vector<std::uint8_t>> files;
  for (const std::string& name : opened.archive->FileNames()) {
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".png") != 0) continue;
    files.emplace_back();
    opened.archive->Read(name, &files.back());
  }
  *pngs = files.size();
  const Clock::time_point start = Clock::now();
  for (const auto& f : files) {
    int w = 0, h = 0, n = 0;
    unsigned char* pixels =
        stbi_load_from_memory(f.data(), static_cast<int>(f.size()), &w, &h, &n, 4);
    stbi_image_free(pixels);
  }
  return Ms(start, Clock::now());
}

// Reference: the 7-Zip tool testing the same archive, whole process.
double SevenZipTest(const std::string& path) {
  const std::string command = std::string(SKINUI_BENCH_7ZZ) + " t \"" + path + "\" > /dev/null 2>&1";
  const Clock::time_point start = Clock::now();
  const int status = std::system(command.c_str());
  const double ms = Ms(start, Clock::now());
  return status == 0 ? ms : -1.0;
}

void Report(const char* what, double value, const char* goal, const char* ref_what, double ref) {
  std::printf("%-44s %8.3f ms  (goal %s)   | %-40s %8.3f ms\n", what, value, goal, ref_what, ref);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string archive = argc > 1 ? argv[1] : SKINUI_BENCH_ARCHIVE;
  Backend::Install(std::make_unique<HeadlessBackend>());
  auto* backend = HeadlessBackend::Installed();
  const std::size_t archive_bytes = ReadFile(archive).size();

  int controls = 0;
  std::vector<double> open_times;
  for (int i = 0; i < 15; ++i) open_times.push_back(OpenToFirstFrame(archive, &controls));
  std::size_t pngs = 0;
  std::vector<double> stb_times;
  for (int i = 0; i < 15; ++i) stb_times.push_back(DecodeWithStb(archive, &pngs));

  // A window that stays open for the repaint timings.
  InstallSkinSource(std::move(SevenZipArchive::Open(ReadFile(archive)).archive));
  BenchWindow window;
  window.Create(nullptr, L"bench", kWsPopup | kWsVisible, 0);
  auto* native = static_cast<HeadlessWindow*>(window.Window());
  backend->RunUntilIdle();
  const Rect all{0, 0, native->ClientSize().width, native->ClientSize().height};

  std::vector<double> full, fill;
  Surface scratch(all.Width(), all.Height());
  Surface copy(all.Width(), all.Height());
  for (int i = 0; i < 200; ++i) {
    Clock::time_point t0 = Clock::now();
    native->Invalidate(all);
    native->PaintNow();
    full.push_back(Ms(t0, Clock::now()));
    t0 = Clock::now();
    scratch.Fill(all, 0xFF000000u | static_cast<std::uint32_t>(i));
    std::memcpy(copy.Data(), scratch.Data(), static_cast<std::size_t>(scratch.Stride()) * all.Height());
    fill.push_back(Ms(t0, Clock::now()));
  }
  const Rect& a = window.FindControl(L"c0_0")->Pos();
  const Rect& b = window.FindControl(L"c0_4")->Pos();
  std::vector<double> hover;
  for (int i = 0; i < 400; ++i) {
    const Rect& r = (i % 2) ? a : b;
    const Clock::time_point t0 = Clock::now();
    native->MoveMouse(Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    native->PaintNow();
    hover.push_back(Ms(t0, Clock::now()));
  }

  std::printf("skin archive %s: %zu bytes, %zu PNGs; layout %dx%d with %d named controls\n",
              archive.c_str(), archive_bytes, pngs, all.Width(), all.Height(), controls);
  Report("open archive -> first painted frame (median)", Median(open_times), "< 150 ms",
         "stb decoding of the same PNGs", Median(stb_times));
  std::vector<double> seven_zip;
  for (int i = 0; i < 5; ++i) seven_zip.push_back(SevenZipTest(archive));
  Report("  same (median)", Median(open_times), "< 150 ms", "7zz t of the same archive (process)",
         Median(seven_zip));
  Report("  first run (font file and caches cold)", open_times.front(), "< 150 ms",
         "stb decoding, first run", stb_times.front());
  Report("full repaint 600x400 (median)", Median(full), "< 5 ms", "fill + memcpy of a 600x400 frame",
         Median(fill));
  Report("hover repaint of one button (median)", Median(hover), "< 1 ms",
         "fill + memcpy of a 600x400 frame", Median(fill));
  window.DestroyWindow();
  ResetSkinSetup();
  Backend::Install(nullptr);
  return 0;
}
