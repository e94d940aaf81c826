#pragma once

#include <string>

#include "tests/ui/HeadlessUi.h"
#include "ui/Automation.h"
#include "ui/FormText.h"
#include "ui/TvgControls.h"
#include "ui/TvgForm.h"

namespace dbinst::test {

inline std::string StyleLibraryText() {
  return "object Styles: TvgStyleBook\n"
         "  object backgroundmover: TvgStyle\n"
         "    Fill.Color = '#FFD9DDE2'\n"
         "  end\n"
         "end\n";
}

// A small window: a top bar that moves it, buttons (one hidden, one disabled, one under a
// panel), a tree with three items, a tab control, a progress bar and a radio button.
inline std::string TestFormText() {
  return "object FormTest: TFormTest\n"
         "  BorderStyle = bsNone\n"
         "  Position = poScreenCenter\n"
         "  ClientWidth = 300\n"
         "  ClientHeight = 200\n"
         "  Caption = 'Test window'\n"
         "  OnActivate = FormActivate\n"
         "  OnCloseQuery = FormCloseQuery\n"
         "  object vgResources1: TvgResources\n"
         "    Resource = {" +
         HexOf(CompileFormText(StyleLibraryText())) +
         "}\n"
         "  end\n"
         "  object TimerFast: TTimer\n"
         "    Interval = 250\n"
         "    OnTimer = TimerFastTimer\n"
         "  end\n"
         "  object TimerIdle: TTimer\n"
         "    Enabled = False\n"
         "  end\n"
         "  object vgScene1: TvgScene\n"
         "    Style = vgResources1\n"
         "    ActiveControl = ButtonOk\n"
         "    object Root1: TvgBackground\n"
         "      Align = vaClient\n"
         "      object BackgroundTop: TvgBackground\n"
         "        Align = vaTop\n"
         "        Height = 27\n"
         "        StyleLookup = 'backgroundmover'\n"
         "        object TextTitle: TvgText\n"
         "          Position.X = 16\n"
         "          Width = 200\n"
         "          Height = 19\n"
         "          Text = 'Tytuł'\n"
         "          Font.Style = [vgFontBold]\n"
         "        end\n"
         "      end\n"
         "      object ButtonOk: TvgButton\n"
         "        Position.X = 10\n"
         "        Position.Y = 160\n"
         "        Width = 100\n"
         "        Height = 24\n"
         "        Text = 'OK'\n"
         "        Default = True\n"
         "        OnClick = ButtonOkClick\n"
         "      end\n"
         "      object ButtonHidden: TvgButton\n"
         "        Position.X = 120\n"
         "        Position.Y = 160\n"
         "        Visible = False\n"
         "      end\n"
         "      object ButtonDisabled: TvgButton\n"
         "        Position.X = 180\n"
         "        Position.Y = 160\n"
         "        Enabled = False\n"
         "      end\n"
         "      object ButtonCovered: TvgButton\n"
         "        Position.X = 240\n"
         "        Position.Y = 160\n"
         "        Width = 50\n"
         "        Height = 24\n"
         "        OnClick = ButtonOkClick\n"
         "      end\n"
         "      object PanelOver: TvgRectangle\n"
         "        Position.X = 230\n"
         "        Position.Y = 150\n"
         "        Width = 70\n"
         "        Height = 50\n"
         "      end\n"
         "      object TreeViewPaths: TvgTreeView\n"
         "        Position.X = 10\n"
         "        Position.Y = 40\n"
         "        Width = 200\n"
         "        Height = 62\n"
         "        ShowCheckboxes = True\n"
         "        OnChangeCheck = TreeChangeCheck\n"
         "        object ItemA: TvgTreeViewItem\n"
         "          Text = 'C:\\Program Files\\Orvane'\n"
         "        end\n"
         "        object ItemB: TvgTreeViewItem\n"
         "          Text = 'D:\\Kestrio'\n"
         "        end\n"
         "        object ItemC: TvgTreeViewItem\n"
         "          Text = 'E:\\Other'\n"
         "        end\n"
         "      end\n"
         "      object ProgressBarMain: TvgProgressBar\n"
         "        Position.X = 10\n"
         "        Position.Y = 110\n"
         "        Width = 200\n"
         "        Height = 12\n"
         "        Value = 40\n"
         "      end\n"
         "      object RadioButtonOne: TvgRadioButton\n"
         "        Position.X = 10\n"
         "        Position.Y = 126\n"
         "        Width = 100\n"
         "        Height = 20\n"
         "        IsChecked = True\n"
         "        Text = 'One'\n"
         "      end\n"
         "      object TabControlMain: TvgTabControl\n"
         "        Position.X = 220\n"
         "        Position.Y = 40\n"
         "        Width = 70\n"
         "        Height = 60\n"
         "        TabIndex = 1\n"
         "        object TabItem01: TvgTabItem\n"
         "          Layout = Layout1\n"
         "        end\n"
         "        object TabItem02: TvgTabItem\n"
         "          Layout = Layout2\n"
         "        end\n"
         "        object Layout1: TvgLayout\n"
         "        end\n"
         "        object Layout2: TvgLayout\n"
         "        end\n"
         "      end\n"
         "    end\n"
         "  end\n"
         "end\n";
}

// The test window with its handlers counted.
class TestForm : public TvgForm {
 public:
  explicit TestForm(bool load = true) {
    Bind("ButtonOkClick", [this](TvgObject&) {
      ++clicks;
      if (onClick) onClick();
    });
    Bind("FormActivate", [this](TvgObject& sender) { activatedBy = &sender; });
    Bind("TreeChangeCheck", [this](TvgObject& sender) { checkedItems.push_back(sender.Name()); });
    Bind("TimerFastTimer", [this](TTimer&) { ++ticks; });
    Bind("FormCloseQuery", [this](bool& canClose) {
      ++closeQueries;
      canClose = allowClose;
    });
    if (load) LoadLayout(CompileFormText(TestFormText()));
  }

  int clicks = 0;
  int ticks = 0;
  int closeQueries = 0;
  bool allowClose = true;
  TvgObject* activatedBy = nullptr;
  std::vector<std::string> checkedItems;
  std::function<void()> onClick;
};

// A question window a script answers: yes and no are clicks on its buttons.
class QuestionForm : public TvgForm {
 public:
  QuestionForm() {
    Bind("ButtonYesClick", [this](TvgObject&) {
      answer = 1;
      Hide();
    });
    Bind("ButtonNoClick", [this](TvgObject&) { Hide(); });
    LoadLayout(
        CompileFormText("object FormQuestion: TFormQuestion\n"
                        "  BorderStyle = bsNone\n"
                        "  Position = poOwnerFormCenter\n"
                        "  ClientWidth = 200\n"
                        "  ClientHeight = 100\n"
                        "  object vgScene1: TvgScene\n"
                        "    object ButtonYes: TvgButton\n"
                        "      Position.X = 10\n"
                        "      Position.Y = 60\n"
                        "      OnClick = ButtonYesClick\n"
                        "    end\n"
                        "    object ButtonNo: TvgButton\n"
                        "      Position.X = 100\n"
                        "      Position.Y = 60\n"
                        "      OnClick = ButtonNoClick\n"
                        "    end\n"
                        "  end\n"
                        "end\n"));
  }
  int Ask() {
    answer = 0;
    ShowModal();
    return answer;
  }
  bool ApplyScriptedAnswer(std::string_view scripted, std::string& error) {
    if (scripted == "yes") return ClickNamed(*this, "ButtonYes", error);
    if (scripted == "no") return ClickNamed(*this, "ButtonNo", error);
    if (scripted == "close") {
      Close();
      return true;
    }
    error = "a question takes yes, no or close";
    return false;
  }

  int answer = 0;
  ScriptedDialog scripted{*this, "message", [this](std::string_view scripted, std::string& error) {
                            return ApplyScriptedAnswer(scripted, error);
                          }};
};

}  // namespace dbinst::test
