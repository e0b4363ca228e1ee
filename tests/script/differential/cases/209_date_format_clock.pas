// FormatDateTime: hours, minutes, seconds and milliseconds, the 12-hour clock, minutes written
// as m after an hour, letter case and the run lengths of the specifiers.
var t: Float;
procedure F(const format: string);
begin
  PrintLn('[' + format + '] ' + FormatDateTime(format, t));
end;
begin
  t := EncodeDate(2024, 2, 9) + EncodeTime(7, 8, 9, 10);
  F('h:m');
  F('hh:mm:ss');
  F('mm:hh');
  F('hh m');
  F('h.m');
  F('h,m');
  F('hm');
  F('h"x"m');
  F('h''x''m');
  F('h:s:m');
  F('hhmm');
  F('n nn s ss');
  F('z zz zzz zzzz');
  F('hhh nnn sss');
  F('y yy yyy yyyy yyyyy');
  F('DD.MM.YYYY HH:NN:SS');
  F('Hh:Nn');
  F('h am/pm');
  F('hh AM/PM');
  F('h a/p');
  F('h A/P');
  F('h ampm');
  F('am/pm h');
  F('AM/pm');
  F('dd "de" mm');
  F('"unterminated');
  t := EncodeTime(13, 5, 0, 0);
  F('h am/pm');
  F('hh ampm');
  F('h a/p');
  t := EncodeTime(0, 5, 0, 0);
  F('h am/pm');
  F('hh:nn am/pm');
  t := EncodeTime(12, 5, 0, 0);
  F('h am/pm');
  t := EncodeDate(2024, 1, 5) + EncodeTime(23, 59, 59, 999);
  F('dd.mm.yyyy hh:nn:ss.zzz');
end.
