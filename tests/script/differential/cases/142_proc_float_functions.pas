function Mean(a, b, c: Float): Float;
begin
  Result := (a + b + c) / 3;
end;

function Percent(value, pct: Float): Float;
begin
  Result := pct / 100 * value;
end;

function Energy(power: Float; minutes: Integer): Float;
begin
  Result := power / (60 / minutes);
end;

begin
  PrintLn(Mean(1, 2, 4));
  PrintLn(Mean(0.1, 0.2, 0.3));
  PrintLn(Percent(200, 50));
  PrintLn(Percent(200, 100));
  PrintLn(Percent(37.5, 12.5));
  PrintLn(Energy(100, 30));
  PrintLn(Energy(100, 3));
  PrintLn(Energy(7.5, 10));
end.
