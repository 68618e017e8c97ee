// The designer's controller alone: opens the project, plays the benchmark's events on
// DesignerForm and prints each event's median and maximum time beside its goal.
// Usage: designer_bench PROJECT   (the project file is saved over by the "save" events)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "designer/designer_form.hpp"
#include "designer_events.hpp"

namespace {

constexpr std::size_t kOpens = 7;

using namespace qb::designer;
using qb::bench::Event;

// Answers Yes and OK, cancels the other dialogs but the save dialog, and counts the messages shown
// (the script raises none).
class BenchUi : public UiPort {
 public:
  explicit BenchUi(std::string temp) : temp_(std::move(temp)) {}
  int messages = 0;

  MessageAnswer ShowMessage(MessageKind, MessageButtons buttons, std::string_view text) override {
    ++messages;
    std::fprintf(stderr, "message shown: %.*s\n", static_cast<int>(text.size()), text.data());
    return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel ? MessageAnswer::Ok
                                                                                : MessageAnswer::Yes;
  }
  std::optional<std::string> OpenFile(const FileDialog&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const FileDialog&) override { return temp_ + "/saved.json"; }
  std::optional<std::string> PickFolder(std::string_view, std::string_view) override { return std::nullopt; }
  std::optional<Rgb> ChooseColour(std::optional<Rgb>) override { return std::nullopt; }
  void SetBusyCursor(bool) override {}
  void OpenInFileManager(std::string_view) override {}
  std::string TempFolder() override { return temp_; }
  bool HasHostInterfaces() override { return false; }
  HostAnswer CallHostInterface(int, std::string_view) override { return {}; }

 private:
  std::string temp_;
};

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Plays one step as the window would forward it.
void Play(DesignerForm& form, const qb::bench::Step& step) {
  auto type = [&](Ctl id) { form.TextChanged(id, form.Control(id).text + static_cast<char>(step.argument)); };
  switch (step.event) {
    case Event::SelectTable: form.Selected(Ctl::lbTables, step.argument); break;
    case Event::TypeTableName: type(Ctl::edTableName); break;
    case Event::TypeTableId: type(Ctl::edTableId); break;
    case Event::TypeFieldLabel: type(Ctl::edFieldLabel); break;
    case Event::AddTable: form.Clicked(Ctl::btnAddTable); break;
    case Event::AddField: form.Clicked(Ctl::btnAddField); break;
    case Event::SwitchTab: form.TabChanged(step.argument); break;
    case Event::Save: form.Clicked(Ctl::btnSave); break;
    case Event::Open: case Event::RepaintAll: break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: designer_bench PROJECT\n");
    return 2;
  }
  const std::string project = argv[1];
  const std::string temp = (std::filesystem::path(project).parent_path() / "designer_bench_tmp").string();
  std::filesystem::create_directories(temp);
  BenchUi ui(temp);
  qb::bench::Samples samples;

  std::unique_ptr<DesignerForm> form;
  auto& opens = samples[static_cast<std::size_t>(Event::Open)];
  while (opens.size() < kOpens && !qb::bench::Skip(samples, {Event::Open})) {
    form.reset();
    const auto start = std::chrono::steady_clock::now();
    form = std::make_unique<DesignerForm>(ui, project, true);
    opens.push_back({MillisecondsSince(start)});
  }
  const int tables = static_cast<int>(form->Project().entities.size());
  if (tables == 0 || form->FileName() != project) {
    std::fprintf(stderr, "designer_bench: %s did not open as a project\n", project.c_str());
    return 1;
  }
  const std::size_t fields_before = form->Project().entities[static_cast<std::size_t>(tables / 5)].fields.size();
  const std::vector<qb::bench::Step> script = qb::bench::Script(tables);
  for (const qb::bench::Step& step : script) {
    // A repaint is the window's own limit; the controller has nothing to do for it.
    if (qb::bench::Skip(samples, step) || step.event == qb::bench::Event::RepaintAll) continue;
    const auto start = std::chrono::steady_clock::now();
    Play(*form, step);
    samples[static_cast<std::size_t>(step.event)].push_back({MillisecondsSince(start), -1, step.argument});
  }

  // The script must have done what it says, or its times mean nothing.
  int failures = ui.messages;
  auto expect = [&](bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "designer_bench: %s\n", what), ++failures;
  };
  const auto played = [&](Event e) { return samples[static_cast<std::size_t>(e)].size(); };
  expect(form->Project().entities.size() == static_cast<std::size_t>(tables) + played(Event::AddTable),
         "add table did not add a table each time");
  expect(form->Project().entities[static_cast<std::size_t>(tables / 5)].fields.size() == fields_before + played(Event::AddField),
         "add field did not add a field each time");
  expect(form->Project().entities[static_cast<std::size_t>(tables / 3)].id.find("abc") != std::string::npos,
         "typing did not reach the table id");
  expect(!form->Modified(), "the project is not saved");
  std::printf("  %d tables at the start\n", tables);
  qb::bench::Report(samples);
  std::filesystem::remove_all(temp);
  return failures == 0 ? 0 : 1;
}
