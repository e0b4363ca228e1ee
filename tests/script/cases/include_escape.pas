{$I ../escape.inc}
{$I /etc/passwd}
// error: Couldn't find file "../escape.inc" on input paths [строка: 1, столбец: 1]
// error: Couldn't find file "/etc/passwd" on input paths [строка: 2, столбец: 1]
