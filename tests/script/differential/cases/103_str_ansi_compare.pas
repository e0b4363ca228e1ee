function Sign(n: Integer): Integer;
begin
  if n < 0 then Result := -1
  else if n > 0 then Result := 1
  else Result := 0;
end;

begin
  PrintLn(Sign(AnsiCompareStr('abc', 'abd')));
  PrintLn(Sign(AnsiCompareStr('abc', 'abc')));
  PrintLn(Sign(AnsiCompareStr('b', 'a')));
  PrintLn(Sign(AnsiCompareText('abc', 'ABC')));
  PrintLn(Sign(AnsiCompareText('abc', 'ABD')));
  PrintLn(Sign(AnsiCompareText('Zulu', 'alpha')));
end.
