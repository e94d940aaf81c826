#pragma once

#include <optional>
#include <string>

#include "engine/CadAppInstalled.h"

namespace dbinst {

// The three ways of choosing the target on the choice page.
enum class ETargetChoice { MainProgram, OtherProgram, ManualFolder };

// What became of the folder chosen by hand.
enum class EManualFolderState { NotChosen, Recognised, NotRecognised };

// The choice page's state: which way is taken, the program checked in the tree and the folder
// chosen by hand. The page's widgets show it; its handlers change it.
class TTargetChoiceModel {
 public:
  TTargetChoiceModel() = default;
  // programs: the engine's target programs, the main one first; pathPlaceholder: the path text
  // shown until a folder is chosen.
  TTargetChoiceModel(TCadAppInstalledVec programs, std::string pathPlaceholder);

  // The main program needs one detected program, the tree a second one; a folder is always offered.
  bool Offers(ETargetChoice choice) const;
  void Choose(ETargetChoice choice) { chosen_ = choice; }
  std::optional<ETargetChoice> Chosen() const { return chosen_; }
  bool IsChosen(ETargetChoice choice) const { return Offers(choice) && chosen_ == choice; }

  const TCadAppInstalledVec& Programs() const { return programs_; }
  // The tree's checked program; nothing, or an empty record for an item of no program.
  void CheckOtherProgram(std::optional<TCadAppInstalled> program) { otherProgram_ = program; }

  const std::string& ManualPathText() const { return manualPathText_; }
  bool ManualFolderChosen() const { return manualFolderChosen_; }
  // A folder confirmed in the folder browser, with its trailing backslash.
  void ChooseManualFolder(std::string folder);
  // The path text was checked: recognised as a program of the family, or not.
  void RecogniseManualFolder(const TCadAppInstalled& program);
  void RefuseManualFolder() { manualState_ = EManualFolderState::NotRecognised; }
  EManualFolderState ManualState() const { return manualState_; }
  // The program last recognised in a folder chosen by hand; empty until one is.
  const TCadAppInstalled& ManualApp() const { return manualApp_; }

  // Where the databases go: the main program, the tree's checked program, the recognised program
  // of the chosen folder, or that folder as it stands when no line recognised it.
  TCadAppInstalled ChosenTarget() const;

 private:
  TCadAppInstalledVec programs_;
  std::optional<ETargetChoice> chosen_;
  std::optional<TCadAppInstalled> otherProgram_;
  std::string manualPathText_;
  bool manualFolderChosen_ = false;
  EManualFolderState manualState_ = EManualFolderState::NotChosen;
  TCadAppInstalled manualApp_;
};

}  // namespace dbinst
