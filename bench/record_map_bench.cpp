// Benchmark of the record map on a real window (not a test): how long a
// record of 64 KiB (by default) takes from its bytes to a painted map,
// with its fields on their shades and card numbers hidden, then to select
// its last field (scrolled to the end) and to page through it.
//
//   record_map_bench.exe [BYTES]
//
// Run it under Wine with bench/record_map_bench.sh.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "src/viewer/record_map.h"
#include "src/win32/record_map_window.h"

using namespace velmora;

namespace {

void settle() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

double timed(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    settle();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// Fields of 37 bytes separated by '|', each holding a card number.
RecordMapSource sourceOf(const std::string& record) {
    RecordMapSource source;
    source.record = record;
    source.separator = "\r\n";
    for (std::size_t at = 0, k = 0; at + 37 <= record.size(); at += 38, ++k)
        source.fields.push_back({"F" + std::to_string(k), true, at, 37, false, k % 2 == 0});
    return source;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t bytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64u * 1024;
    std::string record;
    while (record.size() < bytes) record += "4111111111111111 JOHN SMITH 2512 XYZ|";
    record.resize(bytes);

    registerRecordMapClass();
    HWND frame = CreateWindowA("STATIC", "Record map", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 500, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND map = CreateWindowA(kRecordMapClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, 0, 0, 880, 460, frame,
                             reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    settle();

    RecordMap model;
    const double build = timed([&] { model = RecordMap(sourceOf(record)); });
    const double shown = timed([&] {
        SendMessageA(map, kMapSetBytes, 0, reinterpret_cast<LPARAM>(&model));
        UpdateWindow(map);
    });
    const double last = timed([&] {
        SendMessageA(map, kMapSelectField, static_cast<WPARAM>(model.fields().size() - 1), 0);
        UpdateWindow(map);
    });
    double pages = 0;
    for (int k = 0; k < 20; ++k)
        pages += timed([&] {
            SendMessageA(map, WM_VSCROLL, SB_PAGEUP, 0);
            UpdateWindow(map);
        });
    std::printf("record of %zu bytes, %zu fields\n", bytes, model.fields().size());
    std::printf("  model (spans, card numbers hidden)   %8.2f ms\n", build);
    std::printf("  first paint                          %8.2f ms\n", shown);
    std::printf("  last field selected, scrolled to it  %8.2f ms\n", last);
    std::printf("  a page up, painted (mean of 20)      %8.2f ms\n", pages / 20);
    std::printf("  bytes to a painted map               %8.2f ms\n", build + shown);
    DestroyWindow(frame);
    return 0;
}
