// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/window_options.h"

#include "compare_window/window_ids.h"
#include "core/command_ids.h"
#include "core/text_numbers.h"

namespace dupliora {
namespace {

constexpr int kTitleId = 7;  // disabled title lines never come back as a choice
constexpr int kLowestSimilarity = 40;
constexpr int kSimilarityStep = 5;

QString YesNo(const TextLookup& text, int value) { return text(text::YesNoText(value)); }

MenuItem Separator() { return {}; }

std::vector<MenuItem> VariantMenu(int variant_text, const TextLookup& text) {
  return {{kTitleId, text(text::kSearchFor) + " " + text(variant_text), false},
          Separator(),
          {1, text(text::kYes)},
          {2, text(text::kNo)}};
}

std::vector<MenuItem> RulesMenu(int button, const TextLookup& text) {
  switch (button) {
    case command::kButton1:
      return {{1, text(text::CompareModeText(0))}, {2, text(text::CompareModeText(1))}};
    case command::kButton2:
      return {{kTitleId, text(text::kSignatureRuleTitle), false},
              Separator(),
              {1, text(text::SignatureRuleText(1))},
              {2, text(text::SignatureRuleText(2))},
              {3, text(text::SignatureRuleText(3))}};
    case command::kButton3:
      return VariantMenu(text::kRotated, text);
    case command::kButton4:
      return VariantMenu(text::kFlipped, text);
    case command::kButton5:
      return VariantMenu(text::kNegative, text);
  }
  return {};
}

std::vector<MenuItem> SearchMenu(int button, const TextLookup& text) {
  switch (button) {
    case command::kButton1:
      return {{1, text(text::kResultList)}, {2, text(text::kFileList)}};
    case command::kButton2: {
      std::vector<MenuItem> items;
      for (int n = 100; n >= kLowestSimilarity; n -= kSimilarityStep) {
        items.push_back({n, SimilarityText(text, n)});
      }
      return items;
    }
    case command::kButton3:
      return {{kTitleId, text(text::kSubfolders), false},
              Separator(),
              {1, text(text::kNo)},
              {2, text(text::kYes)}};
  }
  return {};
}

bool IsOffered(OptionBar bar, int button, int id) {
  for (const MenuItem& item : OptionMenu(bar, button, [](int) { return QString(); })) {
    if (item.id == id && item.enabled) return true;
  }
  return false;
}

OptionChoice ApplyRulesChoice(int button, int id, WindowOptions& o) {
  OptionRecord* target = nullptr;
  OptionChoice choice;
  switch (button) {
    case command::kButton1:
      target = &o.m_compare_mode;
      target->value = id - 1;
      choice.relayout = true;
      break;
    case command::kButton2:
      target = &o.m_signature_rule;
      target->value = id;
      break;
    case command::kButton3:
    case command::kButton4:
    case command::kButton5:
      target = button == command::kButton3   ? &o.m_search_rotated
               : button == command::kButton4 ? &o.m_search_flipped
                                             : &o.m_search_negative;
      target->value = id == 1 ? 1 : 0;
      break;
  }
  choice.to_store = target;
  return choice;
}

OptionChoice ApplySearchChoice(int button, int id, WindowOptions& o, int& result_view) {
  OptionChoice choice;
  if (button == command::kButton1) {
    result_view = id - 1;
    choice.result_view_changed = true;
  } else if (button == command::kButton2) {
    o.m_similarity.value = id;
    choice.to_store = &o.m_similarity;
  } else if (button == command::kButton3) {
    o.m_subfolder.value = id - 1;
    choice.to_store = &o.m_subfolder;
    choice.relayout = true;
  }
  return choice;
}

}  // namespace

std::vector<OptionRecord*> WindowOptions::Stored() {
  return {&m_ShowListToolbar, &m_signature_rule, &m_search_rotated, &m_search_flipped,
          &m_search_negative, &m_compare_mode,   &m_similarity,     &m_subfolder};
}

QString SimilarityText(const TextLookup& text, int percent) {
  return QStringLiteral("%1 %2 %").arg(text(text::kSimilarity), QString::number(percent));
}

std::vector<MenuItem> OptionMenu(OptionBar bar, int button, const TextLookup& text) {
  switch (bar) {
    case OptionBar::kRules:
      return RulesMenu(button, text);
    case OptionBar::kSearch:
      return SearchMenu(button, text);
  }
  return {};
}

OptionChoice ApplyMenuChoice(OptionBar bar, int button, int id, WindowOptions& options,
                             int& result_view) {
  if (!IsOffered(bar, button, id)) return {};
  switch (bar) {
    case OptionBar::kRules:
      return ApplyRulesChoice(button, id, options);
    case OptionBar::kSearch:
      return ApplySearchChoice(button, id, options, result_view);
  }
  return {};
}

OptionTexts ComputeOptionTexts(const WindowOptions& o, int result_view, const TextLookup& text) {
  OptionTexts t;
  const QString pattern = QStringLiteral("%1 %2");
  t.rules << text(text::CompareModeText(o.m_compare_mode.value))
          << text(text::SignatureRuleText(o.m_signature_rule.value))
          << pattern.arg(text(text::kRotated), YesNo(text, o.m_search_rotated.value))
          << pattern.arg(text(text::kFlipped), YesNo(text, o.m_search_flipped.value))
          << pattern.arg(text(text::kNegative), YesNo(text, o.m_search_negative.value));
  t.search << text(result_view != 1 ? text::kResultList : text::kFileList)
           << SimilarityText(text, o.m_similarity.value)
           << text(text::kSubfolders) + " " + YesNo(text, o.m_subfolder.value);
  return t;
}

}  // namespace dupliora
