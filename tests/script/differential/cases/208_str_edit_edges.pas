// Delete, Insert, IntToHex, QuotedStr, the delimiter functions and the Def conversions at the
// edges of their arguments.
var s: string;
begin
  s := 'abcdef';
  Delete(s, 6, 1);
  PrintLn('<' + s + '>');
  s := 'abcdef';
  Delete(s, 4, 2147483647);
  PrintLn('<' + s + '>');
  s := '';
  Delete(s, 1, 1);
  PrintLn('<' + s + '>');
  s := 'abc';
  Insert('abc', s, 4);
  PrintLn('<' + s + '>');
  s := 'abc';
  Insert(s, s, 2);
  PrintLn('<' + s + '>');
  PrintLn(IntToHex(255, 12));
  PrintLn(IntToHex(255, -3));
  PrintLn(IntToHex(-255, 2));
  PrintLn(IntToHex(-2147483647 - 1, 1));
  PrintLn(QuotedStr('x'));
  PrintLn(QuotedStr(' '''' '));
  PrintLn(IsDelimiter('.', 'a.b', 0));
  PrintLn(IsDelimiter('.', 'a.b', 4));
  PrintLn(IsDelimiter('', 'a.b', 2));
  PrintLn(IsDelimiter('ab', 'ab', 2));
  PrintLn(LastDelimiter('', 'a.b'));
  PrintLn(LastDelimiter('.', ''));
  PrintLn(LastDelimiter('ba', 'abab'));
  PrintLn(StrToIntDef(' 5', 1));
  PrintLn(StrToIntDef('$ff', 1));
  PrintLn(StrToIntDef('-2147483648', 1));
  PrintLn(StrToFloatDef('2.5.1', 1));
  PrintLn(StrToFloatDef('-1e-3', 1));
  PrintLn('<' + TrimLeft('') + TrimRight('') + '>');
  PrintLn('<' + TrimLeft(#9#10' x '#9) + '|' + TrimRight(#9' x '#10#13) + '>');
end.
