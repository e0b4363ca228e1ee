// The bounds of a for loop are evaluated once, before the first iteration.
var i, n, calls, count: Integer;
function Limit: Integer;
begin
  calls := calls + 1;
  Result := 3;
end;
begin
  n := 5;
  count := 0;
  for i := 1 to n do
  begin
    n := n - 1;
    count := count + 1;
  end;
  Print('iterations: '); PrintLn(count);
  Print('n after: '); PrintLn(n);
  calls := 0;
  count := 0;
  for i := 1 to Limit do
    count := count + 1;
  Print('Limit calls: '); PrintLn(calls);
  Print('iterations: '); PrintLn(count);
end.
