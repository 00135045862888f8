// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Numbers of the language texts the program asks for (GetString). Every
// number listed here has a text in lang/EN.txt and lang/DE.txt; the texts test
// checks that, so a number added here without a text fails the build's tests.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "core/command_ids.h"

namespace dupliora::text {

// Main window: status bar part 1, the portable mark in the user text, the
// comparison child's title and the language button of the toolbar.
inline constexpr int kStatusReady = 18;
inline constexpr int kPortableMark = 39;
inline constexpr int kChildFrameTitle = 128;
inline constexpr int kLanguageButton = 500006;
inline constexpr int kEnglishTextsMark = 300342;    // after a language without texts of its own
inline constexpr int kNoComparisonWindow = 300348;  // the frame without comparison windows
inline constexpr std::array kFrameTexts{kStatusReady,  kEnglishTextsMark, kNoComparisonWindow,
                                        kPortableMark, kChildFrameTitle,  kLanguageButton};

// Main window menus. The item captions are numbered after their command ids;
// the menu titles (with an & mnemonic), the about item and the close question
// are our own.
inline constexpr int kMenuFile = 500001;
inline constexpr int kMenuEdit = 500002;
inline constexpr int kMenuView = 500003;
inline constexpr int kMenuHelp = 500004;
inline constexpr int kMenuLanguage = 500005;
inline constexpr int kCloseQuestion = 500010;
inline constexpr int kAbout = 500012;
inline constexpr int kAskBeforeClosing = command::kAskBeforeClosing;
inline constexpr std::array kFrameMenuTexts{kMenuFile,
                                            kMenuEdit,
                                            kMenuView,
                                            kMenuHelp,
                                            kMenuLanguage,
                                            kCloseQuestion,
                                            kAbout,
                                            kAskBeforeClosing,
                                            command::kNewComparison,
                                            command::kExportList,
                                            command::kExit,
                                            command::kSelectAll,
                                            command::kInvertSelection,
                                            command::kStartModeFirst,
                                            command::kStartModeFirst + 1,
                                            command::kStartModeFirst + 2,
                                            command::kStartModeLast};

// Language menu: the name of language id n (0..36) is text kLanguageNameFirst + n.
inline constexpr int kLanguageCount = 37;
inline constexpr int kLanguageNameFirst = 500100;
constexpr int LanguageNameText(int language_id) { return kLanguageNameFirst + language_id; }
inline constexpr std::array<int, kLanguageCount> kLanguageNameTexts = [] {
  std::array<int, kLanguageCount> numbers{};
  for (int id = 0; id < kLanguageCount; ++id) numbers[id] = LanguageNameText(id);
  return numbers;
}();

// Comparison run: path alerts, progress and summary texts. The words after
// "replaces" are swapped into the run's fixed format texts after formatting.
inline constexpr int kPathNotUsable = 300000;  // alert, followed by "\n" and the path
inline constexpr int kFolderScan = 300001;
inline constexpr int kScanDone = 300002;
inline constexpr int kScanRunning = 300003;
inline constexpr int kLoadedWord = 300330;          // replaces "IST"
inline constexpr int kPerSecond = 300331;           // replaces "/ sec"
inline constexpr int kSkippedComparisons = 300332;  // replaces "Unnecessary comparisons"
inline constexpr int kComparisons = 300333;
inline constexpr int kTimeWord = 300334;     // replaces "Time" and "time:"
inline constexpr int kTotalTime = 300335;    // replaces "Time-Total"
inline constexpr int kRemaining = 300336;    // replaces "Remain"
inline constexpr int kSimilarWord = 300337;  // replaces "Ähnliche:"
inline constexpr int kNoPicturesFound = 300339;
inline constexpr int kIdlePrompt = 300340;
inline constexpr int kRunStopped = 300341;
inline constexpr int kSimilarity = 300102;  // also the similarity column and menu
inline constexpr int kLeftOut = 300390;     // then the reasons, 300391 to 300400
inline constexpr int kLeftOutPathTooLong = 300391;
inline constexpr int kLeftOutNameNotUtf8 = 300392;
inline constexpr int kLeftOutSpecialFile = 300393;
inline constexpr int kLeftOutUnreadable = 300394;
inline constexpr int kLeftOutNotAPicture = 300395;
inline constexpr int kLeftOutTooSmall = 300396;
inline constexpr int kLeftOutDamaged = 300397;
inline constexpr int kLeftOutTooLarge = 300398;
inline constexpr int kLeftOutCrashed = 300399;
inline constexpr int kLeftOutTimedOut = 300400;
// The record store on the cache line: "N remembered", or its name
// and why it is off (damaged, read-only, full, locked, unavailable).
inline constexpr int kFromPictureCache = 300380;
inline constexpr int kPictureCacheName = 300381;
inline constexpr int kPictureCacheDamaged = 300382;
inline constexpr int kPictureCacheReadOnly = 300383;
inline constexpr int kPictureCacheFull = 300384;
inline constexpr int kPictureCacheLocked = 300385;
inline constexpr int kPictureCacheUnavailable = 300386;
inline constexpr std::array kRunTexts{
    kPathNotUsable,      kFolderScan,         kScanDone,           kScanRunning,
    kLoadedWord,         kPerSecond,          kSkippedComparisons, kComparisons,
    kTimeWord,           kTotalTime,          kRemaining,          kSimilarWord,
    kNoPicturesFound,    kIdlePrompt,         kSimilarity,         kLeftOut,
    kLeftOutPathTooLong, kLeftOutNameNotUtf8, kLeftOutSpecialFile, kLeftOutUnreadable,
    kLeftOutNotAPicture, kLeftOutTooSmall,    kLeftOutDamaged,     kLeftOutTooLarge,
    kLeftOutCrashed,     kLeftOutTimedOut,    kFromPictureCache,   kPictureCacheName,
    kPictureCacheDamaged, kPictureCacheReadOnly, kPictureCacheFull, kPictureCacheLocked,
    kPictureCacheUnavailable, kRunStopped};

// Comparison window: Start/Stop caption, path alert balloon, preview toolbars.
inline constexpr int kStartCaption = 300338;
inline constexpr int kStopCaption = 170;
inline constexpr int kPathAlertTitle = 51;
inline constexpr int kBalloonTitle = 24;
inline constexpr int kBalloonText = 60006;
inline constexpr int kShowInFileManager = 1016;
inline constexpr int kDelete = 57014;
inline constexpr int kOpen = 1022;
inline constexpr int kFolderListFirst = 300343;  // + 0 or 1: the path fields in two-list mode
inline constexpr int kBrowseTip = 300345;        // "..."
inline constexpr int kBrowseAppendTip = 300346;  // "...+"
inline constexpr int kDiscardQuestion = 300347;  // Escape in a comparison window with results
inline constexpr std::array kWindowTexts{
    kStartCaption,      kStopCaption,     kPathAlertTitle, kBalloonTitle,    kBalloonText,
    kShowInFileManager, kDelete,          kOpen,           kFolderListFirst, kFolderListFirst + 1,
    kBrowseTip,         kBrowseAppendTip, kDiscardQuestion};

// Option drop-down menus and the toolbar buttons that show the option values.
inline constexpr int kCompareModeFirst = 300311;    // + m_compare_mode (0, 1)
inline constexpr int kSignatureRuleTitle = 300301;  // + m_signature_rule (1..3) for the rule
inline constexpr int kSearchFor = 300107;
inline constexpr int kRotated = 300108;
inline constexpr int kFlipped = 300109;
inline constexpr int kNegative = 300110;
inline constexpr int kYes = 300201;
inline constexpr int kNo = 300202;
inline constexpr int kPreviewModeFirst = 300321;  // + preview_mode (0, 2)
inline constexpr int kFileList = 300322;
inline constexpr int kResultList = 300324;
inline constexpr int kSubfolders = 300370;
inline constexpr int kRememberPictures = 300410;    // the record store, in the sampling menu
inline constexpr int kPictureCacheOnDisk = 300411;  // followed by a blank and the size
inline constexpr int kClearPictureCache = 300412;
constexpr int CompareModeText(int mode) { return kCompareModeFirst + mode; }
constexpr int SignatureRuleText(int rule) { return kSignatureRuleTitle + rule; }
constexpr int PreviewModeText(int mode) { return kPreviewModeFirst + mode; }
// 1 reads yes, 0 reads no.
constexpr int YesNoText(int value) { return kNo - value; }
inline constexpr std::array kOptionTexts{CompareModeText(0),
                                         CompareModeText(1),
                                         kSignatureRuleTitle,
                                         SignatureRuleText(1),
                                         SignatureRuleText(2),
                                         SignatureRuleText(3),
                                         kSearchFor,
                                         kRotated,
                                         kFlipped,
                                         kNegative,
                                         kYes,
                                         kNo,
                                         PreviewModeText(0),
                                         kFileList,
                                         PreviewModeText(2),
                                         kResultList,
                                         kSubfolders,
                                         kRememberPictures,
                                         kPictureCacheOnDisk,
                                         kClearPictureCache};

// Result list: column titles (with " (1)" / " (2)" appended) and the mirror cells.
inline constexpr int kPathColumn = 2006;
inline constexpr int kSizeColumn = 2001;      // pixel size
inline constexpr int kFileSizeColumn = 2007;  // bytes
inline constexpr int kBrightnessColumn = 300105;
inline constexpr int kFlipUpsideDown = 300204;  // flip code 1
inline constexpr int kFlipLeftRight = 300203;   // flip code 2
inline constexpr std::array kResultListTexts{kPathColumn,       kSizeColumn,     kFileSizeColumn,
                                             kBrightnessColumn, kFlipUpsideDown, kFlipLeftRight};

// Context menu of the result list and the copy/move target check.
inline constexpr int kOptionsMenu = 58;
inline constexpr int kRowToolbarOption = 300353;
inline constexpr int kArrowKeys = 283;
inline constexpr int kArrowKeysToggle = 300355;
inline constexpr int kCopyToFolder = 16;
inline constexpr int kMoveToFolder = 17;
inline constexpr int kToTrash = 300354;  // after kDelete, in parentheses
inline constexpr int kRemoveRowsMenu = 300363;
inline constexpr int kRemoveSelectedRows = 300364;
inline constexpr int kRemoveMarkedRows = 300365;
inline constexpr int kRemoveUnmarkedRows = 300366;
inline constexpr int kCopyOverPartner = 300350;
inline constexpr int kMarkLarger = 300351;
inline constexpr int kInvertMarks = 20003;  // cut before its first tab
inline constexpr int kSwapMarks = 300352;
inline constexpr int kFolderMissing = 100202;  // followed by ":\n" and the path
inline constexpr std::array kActionTexts{
    kOptionsMenu,        kRowToolbarOption, kArrowKeys,      kArrowKeysToggle,    kCopyToFolder,
    kMoveToFolder,       kToTrash,          kRemoveRowsMenu, kRemoveSelectedRows, kRemoveMarkedRows,
    kRemoveUnmarkedRows, kCopyOverPartner,  kMarkLarger,     kInvertMarks,        kSwapMarks,
    kFolderMissing};

// The message at start-up when the settings file is refused: the title line,
// one reason, and what follows from it.
inline constexpr int kSettingsRefused = 500300;
inline constexpr int kSettingsNotRegular = 500301;
inline constexpr int kSettingsTooLarge = 500302;
inline constexpr int kSettingsUnreadable = 500303;
inline constexpr int kSettingsDefaultsUsed = 500304;
inline constexpr std::array kSettingsTexts{kSettingsRefused, kSettingsNotRegular, kSettingsTooLarge,
                                           kSettingsUnreadable, kSettingsDefaultsUsed};

// File operations of the result list, undo and the list export (our own numbers).
inline constexpr int kUndo = 57643;  // Edit menu, numbered after its command
inline constexpr int kReplace = 500400;
inline constexpr int kSkip = 500401;
inline constexpr int kKeepBoth = 500402;
inline constexpr int kCancel = 500403;
inline constexpr int kApplyToAll = 500404;
inline constexpr int kNameTaken = 500405;  // %1 the taken name, %2 the file that would go there
inline constexpr int kCopying = 500406;
inline constexpr int kMoving = 500407;
inline constexpr int kTrashing = 500408;
inline constexpr int kCopyingOver = 500409;
inline constexpr int kTrashQuestion = 500410;  // %1 the number of files
inline constexpr int kLeftInPlace = 500411;
inline constexpr int kNoTrashQuestion = 500412;    // %1 the number of files
inline constexpr int kPermanentQuestion = 500413;  // %1 the number of files
inline constexpr int kPairedWithItself = 500414;
inline constexpr int kNothingToUndo = 500416;
inline constexpr int kNotPutBack = 500417;
inline constexpr int kRenameFailed = 500418;
inline constexpr int kCopyOverQuestion = 500419;  // %1 the number of pictures
inline constexpr int kExportFailed = 500420;
inline constexpr int kExportReplace = 500421;  // %1 the file name
inline constexpr int kNoFileManager = 500422;
inline constexpr int kNoOpener = 500423;
inline constexpr int kBusy = 500424;
inline constexpr std::array kFileActionTexts{kUndo,
                                             kReplace,
                                             kSkip,
                                             kKeepBoth,
                                             kCancel,
                                             kApplyToAll,
                                             kNameTaken,
                                             kCopying,
                                             kMoving,
                                             kTrashing,
                                             kCopyingOver,
                                             kTrashQuestion,
                                             kLeftInPlace,
                                             kNoTrashQuestion,
                                             kPermanentQuestion,
                                             kPairedWithItself,
                                             kNothingToUndo,
                                             kNotPutBack,
                                             kRenameFailed,
                                             kCopyOverQuestion,
                                             kExportFailed,
                                             kExportReplace,
                                             kNoFileManager,
                                             kNoOpener,
                                             kBusy};

// Texts of message boxes and questions: free of the caption length limit.
inline constexpr std::array kMessageTexts{kNameTaken,
                                          kNoTrashQuestion,
                                          kPermanentQuestion,
                                          kPairedWithItself,
                                          kCopyOverQuestion,
                                          kNoFileManager,
                                          kBusy,
                                          kExportFailed,
                                          kNotPutBack,
                                          kTrashQuestion,
                                          kRenameFailed,
                                          kLeftInPlace,
                                          kNoOpener,
                                          kNothingToUndo,
                                          kExportReplace};

template <std::size_t... N>
constexpr auto JoinTextNumbers(const std::array<int, N>&... groups) {
  std::array<int, (N + ...)> all{};
  std::size_t at = 0;
  ((std::copy(groups.begin(), groups.end(), all.begin() + at), at += N), ...);
  return all;
}

// Every number above, once per group (a number may stand in several groups).
inline constexpr auto kAllTextNumbers =
    JoinTextNumbers(kFrameTexts, kFrameMenuTexts, kLanguageNameTexts, kRunTexts, kWindowTexts,
                    kOptionTexts, kResultListTexts, kActionTexts, kSettingsTexts,
                    kFileActionTexts);

}  // namespace dupliora::text
