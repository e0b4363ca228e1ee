// Only the sign of the comparison result is defined.
function Sign(n: Integer): Integer;
begin
  if n < 0 then Result := -1
  else if n > 0 then Result := 1
  else Result := 0;
end;

begin
  Print('abc,abd '); PrintLn(Sign(CompareStr('abc', 'abd')));
  Print('abd,abc '); PrintLn(Sign(CompareStr('abd', 'abc')));
  Print('abc,abc '); PrintLn(Sign(CompareStr('abc', 'abc')));
  Print('ab,abc '); PrintLn(Sign(CompareStr('ab', 'abc')));
  Print('a,B '); PrintLn(Sign(CompareStr('a', 'B')));
  Print('ABC,abc '); PrintLn(Sign(CompareStr('ABC', 'abc')));
  Print('empty,empty '); PrintLn(Sign(CompareStr('', '')));
  Print('x,empty '); PrintLn(Sign(CompareStr('x', '')));
end.
