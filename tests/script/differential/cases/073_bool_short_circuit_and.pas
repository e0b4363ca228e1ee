// The right operand of and is not evaluated when the left one is False.
var calls: Integer;
function Check(v: Boolean): Boolean;
begin
  calls := calls + 1;
  Result := v;
end;
begin
  calls := 0;
  if False and Check(True) then PrintLn('wrong');
  Print('calls after False and: '); PrintLn(calls);
  if True and Check(True) then PrintLn('both true');
  Print('calls after True and: '); PrintLn(calls);
  if Check(False) and Check(True) then PrintLn('wrong');
  Print('calls after Check(False) and: '); PrintLn(calls);
  PrintLn(Check(True) and Check(False) and Check(True));
  Print('calls: '); PrintLn(calls);
end.
