#pragma once

#include <QString>

// The learner levels' names in the interface language: the tags of learner/dictionary_facts.h
// ("CET4", "Collins3") as the window shows them (四级 / CET-4, 柯林斯★★★ / Collins ★★★).
QString levelDisplayName(const QString& tag);

// An entry's learner-levels line ("中考 高考 四级 · 牛津3000 · 柯林斯★★★") in the interface
// language, its stars never broken over two lines; any other line unchanged.
QString levelsLineForDisplay(const QString& line);

// Takes out what levelsLineForDisplay put between the stars, for text copied from the pane.
QString withoutDisplayJoiners(QString text);
