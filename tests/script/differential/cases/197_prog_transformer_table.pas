function T2Losses(Pxx, Pk, Snom, cosf, T, W: Float): Float;
begin
  Result := 0;
  if W = 0 then Exit;
  if cosf = 0 then cosf := 0.85;
  Result := (Pxx + Pk * Sqr(W / (cosf * T) / Snom)) * T;
end;

var k: Integer;
  w: Float;
begin
  PrintLn(T2Losses(2, 10, 100, 0, 1, 0));
  PrintLn(T2Losses(2, 10, 100, 0.8, 1, 80));
  PrintLn(T2Losses(2, 10, 100, 0, 0.5, 50));
  for k := 1 to 5 do
  begin
    w := k * 12.5;
    PrintLn(FloatToStr(w) + ' -> ' + FloatToStr(T2Losses(1.2, 5.5, 63, 0.9, 0.5, w)));
  end;
end.
