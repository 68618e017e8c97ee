// The designer benchmark's events: their goals, the script both layers play (the controller
// alone and the Win32 window), and the report of the times measured.
#pragma once

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace qb::bench {

// RepaintAll is the limit a window event is measured against: the whole window painted again with
// nothing changed (the controller has nothing to do for it).
enum class Event { Open, SelectTable, TypeTableName, TypeTableId, TypeFieldLabel, AddTable, AddField, SwitchTab, Save,
                   RepaintAll };
inline constexpr std::size_t kEventCount = 10;

struct EventInfo {
  const char* name;
  double goal_ms;
  std::size_t min_runs;  // repeats that always run (see Skip)
};

inline constexpr std::array<EventInfo, kEventCount> kEvents = {{
    {"open", 1000, 3},
    {"select a table", 30, 3},
    {"type a character: table label", 30, 3},
    {"type a character: table id", 30, 3},
    {"type a character: field label", 30, 3},
    {"add table", 30, 3},
    {"add field", 30, 3},
    {"switch tab", 30, 4},  // each tab once
    {"save", 300, 3},
    {"repaint, nothing changed", 30, 4},
}};

// Once an event's repeats add up to this, only its minimum runs: a slow build still finishes
// in minutes.
inline constexpr double kBudgetMs = 10000;

// One event of the script: the table to select, the character to type or the tab to show.
struct Step {
  Event event;
  int argument = 0;
  bool setup = false;  // the steps after it rest on it: never skipped
};

// The events after opening, on a project of `tables` tables, ending with the project saved (so
// Cancel closes the window without a question). The typing and adding happen on the "Tables"
// tab; the tab switches come after them.
inline std::vector<Step> Script(int tables) {
  std::vector<Step> steps;
  for (int i = 0; i < 10; ++i) steps.push_back({Event::SelectTable, (i * 97 + 13) % tables});
  // Each kind of typing on a table of its own, so the label still drives the id and the name.
  auto type = [&](int table, Event event) {
    steps.push_back({Event::SelectTable, table, true});
    for (int i = 0; i < 20; ++i) steps.push_back({event, 'a' + i});
  };
  type(tables / 2, Event::TypeTableName);
  type(tables / 3, Event::TypeTableId);
  type(tables / 4, Event::TypeFieldLabel);
  for (int i = 0; i < 5; ++i) steps.push_back({Event::AddTable});
  steps.push_back({Event::SelectTable, tables / 5, true});
  for (int i = 0; i < 5; ++i) steps.push_back({Event::AddField});
  for (int round = 0; round < 2; ++round)
    for (int tab : {0, 2, 3, 1}) steps.push_back({Event::SwitchTab, tab});
  for (int i = 0; i < 4; ++i) steps.push_back({Event::RepaintAll});
  for (int i = 0; i < 3; ++i) steps.push_back({Event::Save});
  return steps;
}

// One measured event: its whole time and, where the layer paints, the part spent painting.
struct Sample {
  double total_ms;
  double paint_ms = -1;
  int argument = 0;
};

using Samples = std::array<std::vector<Sample>, kEventCount>;

// True when the step is a repeat beyond its event's minimum runs and its time budget is spent.
inline bool Skip(const Samples& samples, const Step& step) {
  const std::size_t e = static_cast<std::size_t>(step.event);
  if (step.setup || samples[e].size() < kEvents[e].min_runs) return false;
  double spent = 0;
  for (const Sample& s : samples[e]) spent += s.total_ms;
  return spent >= kBudgetMs;
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Prints one line per event: median and maximum, each beside its goal; the paint share where
// there is one; and the time of each tab switch by the tab it shows.
inline void Report(const Samples& samples) {
  bool painted = false;
  for (const auto& list : samples)
    for (const Sample& s : list) painted = painted || s.paint_ms >= 0;
  std::printf("  %-32s %4s %11s %-12s %-4s %11s %-12s %-4s%s\n", "event", "runs", "median", "goal", "met", "maximum",
              "goal", "met", painted ? "  paint (median)" : "");
  for (std::size_t e = 0; e < kEventCount; ++e) {
    const std::vector<Sample>& list = samples[e];
    if (list.empty()) continue;
    std::vector<double> totals, paints;
    for (const Sample& s : list) {
      totals.push_back(s.total_ms);
      if (s.paint_ms >= 0) paints.push_back(s.paint_ms);
    }
    const double median = Median(totals), maximum = *std::max_element(totals.begin(), totals.end());
    const double goal = kEvents[e].goal_ms;
    char goal_text[32];
    std::snprintf(goal_text, sizeof goal_text, "<= %g ms", goal);
    std::printf("  %-32s %4zu %8.2f ms %-12s %-4s %8.2f ms %-12s %-4s", kEvents[e].name, list.size(), median,
                goal_text, median <= goal ? "yes" : "NO", maximum, goal_text, maximum <= goal ? "yes" : "NO");
    if (!paints.empty()) std::printf("  %8.2f ms", Median(paints));
    std::printf("\n");
  }
  const std::vector<Sample>& tabs = samples[static_cast<std::size_t>(Event::SwitchTab)];
  if (!tabs.empty()) {
    static constexpr const char* kTabNames[] = {"project", "tables", "pages", "preview"};
    std::printf("  switch tab by tab shown (median):");
    for (int tab = 0; tab < 4; ++tab) {
      std::vector<double> times;
      for (const Sample& s : tabs)
        if (s.argument == tab) times.push_back(s.total_ms);
      if (!times.empty()) std::printf("  %s %.2f ms", kTabNames[tab], Median(times));
    }
    std::printf("\n");
  }
}

}  // namespace qb::bench
