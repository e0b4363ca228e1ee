function F(n: Integer): Integer;
begin
  Result := F(n + 1) + 1;
end;

PrintLn(F(0));
