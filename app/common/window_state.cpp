#include "app/common/window_state.h"

void WindowState::show(const QString& word, Shown how) {
  currentWord_ = word;
  emit wordShown(word, how);
}
