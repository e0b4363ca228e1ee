function Sign(n: Integer): Integer;
begin
  if n < 0 then Result := -1
  else if n > 0 then Result := 1
  else Result := 0;
end;

begin
  Print('ABC,abc '); PrintLn(Sign(CompareText('ABC', 'abc')));
  Print('abc,ABD '); PrintLn(Sign(CompareText('abc', 'ABD')));
  Print('Zeta,alpha '); PrintLn(Sign(CompareText('Zeta', 'alpha')));
  Print('a,AB '); PrintLn(Sign(CompareText('a', 'AB')));
  Print('MiXeD,mixed '); PrintLn(Sign(CompareText('MiXeD', 'mixed')));
  Print('b,A '); PrintLn(Sign(CompareText('b', 'A')));
  Print('A1,a2 '); PrintLn(Sign(CompareText('A1', 'a2')));
end.
