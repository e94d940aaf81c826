#include "ui/Automation.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "platform/Display.h"
#include "platform/ExitCodes.h"
#include "platform/JsonWriter.h"
#include "platform/ProcessExit.h"
#include "platform/ScriptInput.h"
#include "ui/PropertyTable.h"
#include "ui/SceneFrame.h"
#include "ui/TvgApplication.h"
#include "ui/TvgForm.h"
#include "ui/TvgTreeView.h"

namespace dbinst {
namespace {

// Wait longer than a day is no script's intent and would only hang the run.
constexpr uint64_t kLongestWait = 24ull * 60 * 60 * 1000;

std::vector<const ScriptedDialog*>& Dialogs() {
  static std::vector<const ScriptedDialog*> dialogs;
  return dialogs;
}

void WriteToStandardOutput(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool IsWithin(const TvgObject* object, const TvgObject& ancestor) {
  for (; object; object = object->Parent()) {
    if (object == &ancestor) return true;
  }
  return false;
}

std::string Described(const TvgObject& object) {
  return object.Name().empty() ? "a " + object.ClassName() : object.Name();
}

// Refuses a point the person could not click: an object hidden, disabled, behind a modal
// window, or covered by another object at the point.
bool CheckClickable(TvgForm& form, TvgObject& target, TvgObject& expected, TPointF point,
                    std::string& error) {
  if (!form.Shown()) {
    error = form.Name() + " is not shown";
  } else if (!target.ShownOnScreen()) {
    error = Described(target) + " is hidden";
  } else if (!target.EnabledOnScreen()) {
    error = Described(target) + " is disabled";
  } else if (TvgApplication::Instance().BlockedByModal(form)) {
    error = form.Name() + " waits for the modal window " +
            TvgApplication::Instance().ActiveModalForm()->Name();
  } else {
    TvgObject* hit = form.Scene().ObjectAt(point);
    if (IsWithin(hit, expected)) return true;
    if (!hit || IsWithin(&target, *hit)) {
      error = Described(target) + " takes no clicks";
    } else {
      error = Described(target) + " is covered by " + Described(*hit);
    }
  }
  return false;
}

void PressAndRelease(TvgForm& form, TPointF point) {
  Display& display = TvgApplication::Instance().Screen();
  DisplayEvent event;
  event.window = form.NativeWindow()->Id();
  event.x = point.x;
  event.y = point.y;
  event.kind = EDisplayEventKind::MouseMove;
  display.Inject(event);
  event.kind = EDisplayEventKind::MouseDown;
  display.Inject(event);
  event.kind = EDisplayEventKind::MouseUp;
  display.Inject(event);
  TvgApplication::Instance().DispatchInput();
}

// The object of that name in a shown form, the topmost form first.
TvgObject* FindShown(TvgApplication& application, std::string_view name, TvgForm*& form) {
  const std::vector<TvgForm*>& forms = application.Forms();
  TvgForm* top = application.TopmostShownForm();
  if (top) {
    if (TvgObject* found = top->Scene().Find(name)) {
      form = top;
      return found;
    }
  }
  for (TvgForm* candidate : forms) {
    if (!candidate->Shown() || candidate == top) continue;
    if (TvgObject* found = candidate->Scene().Find(name)) {
      form = candidate;
      return found;
    }
  }
  return nullptr;
}

// Where keys and the close request go: the modal window while one runs, else the topmost one.
TvgForm* InputForm(TvgApplication& application) {
  TvgForm* modal = application.ActiveModalForm();
  return modal && modal->Shown() ? modal : application.TopmostShownForm();
}

std::optional<EDisplayKey> KeyNamed(std::string_view name) {
  static const std::pair<std::string_view, EDisplayKey> kKeys[] = {
      {"Enter", EDisplayKey::Enter},
      {"Escape", EDisplayKey::Escape},
      {"Space", EDisplayKey::Space},
      {"Tab", EDisplayKey::Tab},
      {"Shift+Tab", EDisplayKey::ShiftTab},
      {"Alt+F4", EDisplayKey::AltF4},
      {"Left", EDisplayKey::Left},
      {"Right", EDisplayKey::Right},
      {"Up", EDisplayKey::Up},
      {"Down", EDisplayKey::Down},
  };
  for (const auto& [text, key] : kKeys) {
    if (text == name) return key;
  }
  return std::nullopt;
}

std::optional<uint64_t> ParseCount(std::string_view text) {
  uint64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// Each kind's state as its property declarations show it.
void DumpObject(JsonWriter& json, const TvgObject& object) {
  json.Key(object.Name()).BeginObject();
  object.StoredProperties().Dump(object, json);
  json.EndObject();
}

void DumpNamed(JsonWriter& json, const TvgObject& object) {
  if (!object.Name().empty()) DumpObject(json, object);
  for (const auto& child : object.Children()) DumpNamed(json, *child);
}

}  // namespace

bool ClickObject(TvgForm& form, TvgObject& object, std::string& error) {
  form.Scene().Layout();
  const TPointF centre = object.SceneRect().Center();
  if (!CheckClickable(form, object, object, centre, error)) return false;
  PressAndRelease(form, centre);
  return true;
}

bool ClickNamed(TvgForm& form, std::string_view name, std::string& error) {
  TvgObject* object = form.Scene().Find(name);
  if (!object) {
    error = form.Name() + " has no object " + std::string(name);
    return false;
  }
  return ClickObject(form, *object, error);
}

bool WriteSnapshot(TvgForm& form, const std::string& path, std::string& error) {
  const SceneFrame frame(form.Scene(), form.ClientWidth(), form.ClientHeight(), form.Scale());
  if (!frame.Valid()) {
    error = "cannot draw " + form.Name();
    return false;
  }
  return frame.WritePng(path, error);
}

ScriptedDialog::ScriptedDialog(const TvgForm& form, std::string kind, TScriptedAnswer answer)
    : form_(form), kind_(std::move(kind)), answer_(std::move(answer)) {
  Dialogs().push_back(this);
}

ScriptedDialog::~ScriptedDialog() { std::erase(Dialogs(), this); }

const ScriptedDialog* ScriptedDialog::Of(const TvgForm& form) {
  for (const ScriptedDialog* dialog : Dialogs()) {
    if (&dialog->form_ == &form) return dialog;
  }
  return nullptr;
}

void StartScriptFromEnvironment(TvgApplication& application) {
  const char* source = std::getenv("DBINST_SCRIPT");
  if (!source || !*source) return;
  const UiServices& services = CurrentUiServices();
  std::string error = "this program cannot read scripts";
  std::unique_ptr<ScriptInput> input =
      services.openScript ? services.openScript(source, error) : nullptr;
  if (!input) {
    std::fprintf(stderr, "DBINST_SCRIPT: %s\n", error.c_str());
    ExitProcessWithCode(kExitCodeFatal);
  }
  application.StartScript(std::make_unique<Automation>(
      application, std::move(input), std::string(source) != "-", WriteToStandardOutput));
}

std::string JsonError(std::string_view message) {
  return JsonWriter().BeginObject().Key("error").String(message).EndObject().Text();
}

Automation::Automation(TvgApplication& application, std::unique_ptr<ScriptInput> input,
                       bool linesArriveTogether, std::function<void(const std::string&)> writeLine)
    : application_(application),
      input_(std::move(input)),
      linesArriveTogether_(linesArriveTogether),
      writeLine_(std::move(writeLine)) {}

Automation::~Automation() = default;

bool Automation::MayStartCommand() const {
  if (ended_) return false;
  if (pending_.empty() || !linesArriveTogether_) return true;
  // A file's next line waits for the command before it, unless that command opened a modal
  // window, which only the following lines can answer.
  return application_.ModalDepth() > pending_.back().modalDepth;
}

bool Automation::RunArrived(int timeoutMs) {
  bool ran = false;
  while (MayStartCommand()) {
    std::string line;
    const EScriptRead read = input_->ReadLine(line, ran ? 0 : timeoutMs);
    if (read == EScriptRead::End) ended_ = true;
    if (read != EScriptRead::Line) break;
    const std::string_view command = Trimmed(line);
    if (command.empty() || command.front() == '#') continue;
    Execute(command);
    ran = true;
  }
  return ran;
}

void Automation::Execute(std::string_view line) {
  line = Trimmed(line);
  const size_t space = line.find_first_of(" \t");
  const std::string_view command = line.substr(0, space);
  const std::string_view argument =
      space == std::string_view::npos ? std::string_view() : Trimmed(line.substr(space));
  pending_.push_back({application_.ModalDepth(), {}});
  std::string answer = Run(command, argument);
  const std::string failed = std::move(pending_.back().error);
  pending_.pop_back();
  if (answer.empty() && !failed.empty()) answer = JsonError(failed);
  Write(answer.empty() ? "{\"ok\": true}" : answer);
}

std::string Automation::Run(std::string_view command, std::string_view argument) {
  const bool bare = argument.empty();
  if (command == "click" && !bare) return Click(argument);
  if (command == "tree" && !bare) return Tree(argument);
  if (command == "key" && !bare) return Key(argument);
  if (command == "close" && bare) return Close();
  if (command == "answer" && !bare) return Queue("message", argument);
  if (command == "browse" && !bare) return Queue("browse", argument);
  if (command == "wait" && !bare) return Wait(argument);
  if (command == "dump" && bare) return Dump();
  if (command == "log" && bare) return Log();
  if (command == "snapshot" && !bare) return Snapshot(argument);
  static const std::string_view kKnown[] = {"click",  "tree", "key",  "close", "answer",
                                            "browse", "wait", "dump", "log",   "snapshot"};
  for (std::string_view known : kKnown) {
    if (known == command) {
      return JsonError(std::string(command) + (bare ? " needs an argument" : " takes none"));
    }
  }
  return JsonError("unknown command: " + std::string(command));
}

std::string Automation::Click(std::string_view name) {
  TvgForm* form = nullptr;
  TvgObject* object = FindShown(application_, name, form);
  if (!object) return JsonError("no shown window has an object named " + std::string(name));
  std::string error;
  if (!ClickObject(*form, *object, error)) return JsonError(error);
  return {};
}

std::string Automation::Tree(std::string_view argument) {
  const size_t space = argument.find_first_of(" \t");
  if (space == std::string_view::npos) return JsonError("tree needs a name and an item index");
  const std::string_view name = argument.substr(0, space);
  const std::optional<uint64_t> index = ParseCount(Trimmed(argument.substr(space)));
  if (!index) return JsonError("tree needs an item index from 0");
  TvgForm* form = nullptr;
  auto* tree = dynamic_cast<TvgTreeView*>(FindShown(application_, name, form));
  if (!tree) return JsonError("no shown window has a tree view named " + std::string(name));
  const std::vector<TvgTreeViewItem*> items = tree->Items();
  if (*index >= items.size()) {
    return JsonError(std::string(name) + " has " + std::to_string(items.size()) + " items");
  }
  form->Scene().Layout();
  TvgTreeViewItem& item = *items[*index];
  const TRectF box = item.CheckBoxRect();
  const TRectF row = item.SceneRect();
  const TPointF point{row.left + box.Center().x, row.top + box.Center().y};
  std::string error;
  if (!CheckClickable(*form, item, *tree, point, error)) return JsonError(error);
  PressAndRelease(*form, point);
  return {};
}

std::string Automation::Key(std::string_view name) {
  const std::optional<EDisplayKey> key = KeyNamed(name);
  if (!key) return JsonError("unknown key: " + std::string(name));
  TvgForm* form = InputForm(application_);
  if (!form) return JsonError("no window is shown");
  DisplayEvent event;
  event.kind = EDisplayEventKind::Key;
  event.window = form->NativeWindow()->Id();
  event.key = *key;
  application_.Screen().Inject(event);
  application_.DispatchInput();
  return {};
}

std::string Automation::Close() {
  TvgForm* form = InputForm(application_);
  if (!form) return JsonError("no window is shown");
  DisplayEvent event;
  event.kind = EDisplayEventKind::CloseRequest;
  event.window = form->NativeWindow()->Id();
  application_.Screen().Inject(event);
  application_.DispatchInput();
  return {};
}

std::string Automation::Queue(std::string kind, std::string_view answer) {
  static const std::string_view kMessageAnswers[] = {"yes", "no", "ok", "close"};
  if (kind == "message") {
    bool known = false;
    for (std::string_view candidate : kMessageAnswers) known = known || candidate == answer;
    if (!known) return JsonError("answer takes yes, no, ok or close");
  }
  queued_.push_back({std::move(kind), std::string(answer)});
  // A dialog of that kind already open takes it at once.
  TvgForm* modal = application_.ActiveModalForm();
  if (modal && modal->Shown()) ModalStarted(*modal);
  return {};
}

void Automation::ModalStarted(TvgForm& form) {
  const ScriptedDialog* dialog = ScriptedDialog::Of(form);
  if (!dialog) return;
  for (auto it = queued_.begin(); it != queued_.end(); ++it) {
    if (it->kind != dialog->Kind()) continue;
    const std::string answer = it->answer;
    queued_.erase(it);
    ApplyAnswer(form, *dialog, answer);
    return;
  }
}

void Automation::ApplyAnswer(TvgForm& form, const ScriptedDialog& dialog,
                             const std::string& answer) {
  std::string error;
  if (dialog.Answer(answer, error)) return;
  const std::string message = form.Name() + " refused the answer " + answer + ": " + error;
  // The answer was given when it was queued; the command that opened the dialog reports it.
  if (!pending_.empty()) {
    pending_.back().error = message;
  } else {
    Write(JsonError(message));
  }
}

std::string Automation::Wait(std::string_view milliseconds) {
  const std::optional<uint64_t> time = ParseCount(milliseconds);
  if (!time || *time > kLongestWait) return JsonError("wait takes milliseconds, 0 to 86400000");
  application_.AdvanceClock(*time);
  return {};
}

std::string Automation::Dump() const {
  JsonWriter json;
  json.BeginObject().Key("windows").BeginObject();
  for (TvgForm* form : application_.Forms()) {
    if (!form->Shown()) continue;
    json.Key(form->Name()).BeginObject();
    DumpNamed(json, form->Scene());
    json.EndObject();
  }
  json.EndObject().EndObject();
  return json.Text();
}

std::string Automation::Log() const {
  JsonWriter json;
  json.BeginObject().Key("log").BeginArray();
  for (const std::string& line : application_.LogLines()) json.String(line);
  json.EndArray().EndObject();
  return json.Text();
}

std::string Automation::Snapshot(std::string_view path) {
  TvgForm* form = application_.TopmostShownForm();
  if (!form) return JsonError("no window is shown");
  std::string error;
  if (!WriteSnapshot(*form, std::string(path), error)) return JsonError(error);
  return {};
}

void Automation::Finish() {
  TvgForm* form = application_.TopmostShownForm();
  if (!form) ExitProcessWithCode(kExitCodeFinished);
  queued_.push_back({"message", "yes"});
  form->Close();
  if (form->Shown()) {
    std::fprintf(stderr, "The script ended and %s refused to close.\n", form->Name().c_str());
    ExitProcessWithCode(kExitCodeWindowStayedOpen);
  }
}

void Automation::BeforeExit() {
  while (!pending_.empty()) {
    const std::string failed = std::move(pending_.back().error);
    pending_.pop_back();
    Write(failed.empty() ? "{\"ok\": true}" : JsonError(failed));
  }
}

void Automation::Write(const std::string& line) { writeLine_(line); }

}  // namespace dbinst
