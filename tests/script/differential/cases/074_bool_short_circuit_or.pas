var calls: Integer;
  i, z: Integer;
function Check(v: Boolean): Boolean;
begin
  calls := calls + 1;
  Result := v;
end;
begin
  calls := 0;
  if True or Check(False) then PrintLn('first true');
  Print('calls: '); PrintLn(calls);
  if Check(False) or Check(True) then PrintLn('second true');
  Print('calls: '); PrintLn(calls);
  z := 0;
  i := 10;
  // The division is never evaluated.
  if (z = 0) or (i div z > 1) then PrintLn('guarded division skipped');
  if (z <> 0) and (i div z > 1) then PrintLn('wrong') else PrintLn('guarded and');
end.
