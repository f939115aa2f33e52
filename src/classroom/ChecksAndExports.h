#pragma once

class ClassWindow;

// Adds to the class window what gets a class ready to leave Kotoban: 点検 (a panel on the
// right), the exports and the column copy (menu "点検・書き出し"), and the table's ≒ marks
// for sentences shared between pupils, kept up to date as the teacher types; 完了 marks,
// 提出する… and 変更点 since the last hand-in.
void addChecksAndExports(ClassWindow *window);
